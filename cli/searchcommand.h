#pragma once

#include <iosfwd>
#include <string>

struct CalcOptions;
struct SearchInput;
struct SearchOverrides;
struct SearchResult;
class TDataModule1;

// tarvel-calc --invert: the search for the histories a data set's grains
// allow, shared with tarvel-calc-mpi.

// What the command line sets over the data set's search settings.
SearchOverrides searchOverrides(const CalcOptions &options);

// A file the search writes once it is done: opened at once as a temporary
// file beside its name, so a folder that cannot take it is told before the
// search runs, and renamed to its name only by commit. Removed otherwise.
class SearchOutputFile {
public:
    explicit SearchOutputFile(const std::string &path); // "": none
    ~SearchOutputFile();
    SearchOutputFile(const SearchOutputFile &) = delete;
    SearchOutputFile &operator=(const SearchOutputFile &) = delete;

    bool wanted() const { return !path_.empty(); }
    std::ostream &stream();
    // Flushes and renames; throws tarvel::Error naming the file when a byte
    // did not reach it.
    void commit();

private:
    std::string path_, temporary_;
    struct Stream;
    Stream *stream_ = nullptr;
};

// Writes a finished search's outputs: the CSVs of --accepted and --envelope
// into their files, then the summary line on `out`.
void writeSearchOutputs(const SearchInput &input, const SearchResult &result,
                        SearchOutputFile &accepted, SearchOutputFile &envelope, std::ostream &out);

// The whole command on a data set read: refusals before anything is written,
// the search on every core with a progress line on `progress` (a terminal)
// when given, then the outputs. Throws tarvel::Error.
void runSearchCommand(const TDataModule1 &dataSet, const CalcOptions &options, std::ostream &out,
                      std::ostream *progress);
