#include "searchcommand.h"

#include "calcoptions.h"
#include "errors.h"
#include "searchcsv.h"
#include "searchinput.h"
#include "searchrunner.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <optional>
#include <ostream>
#include <sstream>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

SearchOverrides searchOverrides(const CalcOptions &options) {
    SearchOverrides overrides;
    overrides.paths = options.paths;
    overrides.seed = options.seed;
    overrides.method = options.method;
    overrides.steps = options.steps;
    return overrides;
}

struct SearchOutputFile::Stream {
    std::ofstream file;
};

SearchOutputFile::SearchOutputFile(const std::string &path) : path_(path) {
    if (path_.empty())
        return;
    std::string pattern = path_ + ".XXXXXX";
    const int descriptor = mkstemp(pattern.data());
    if (descriptor < 0)
        throw tarvel::Error("cannot write '" + tarvel::quotable(path_, 200) +
                            "': " + std::strerror(errno));
    // As the file would be created under its own name: mkstemp gives 0600.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(descriptor, 0666 & ~mask);
    ::close(descriptor);
    temporary_ = pattern;
    stream_ = new Stream;
    stream_->file.open(temporary_, std::ios::binary | std::ios::trunc);
    if (!stream_->file)
        throw tarvel::Error("cannot write '" + tarvel::quotable(path_, 200) +
                            "': " + std::strerror(errno));
}

SearchOutputFile::~SearchOutputFile() {
    delete stream_;
    if (!temporary_.empty())
        std::remove(temporary_.c_str());
}

std::ostream &SearchOutputFile::stream() {
    return stream_->file;
}

void SearchOutputFile::commit() {
    if (path_.empty())
        return;
    stream_->file.close();
    if (!stream_->file || std::rename(temporary_.c_str(), path_.c_str()) != 0)
        throw tarvel::Error("cannot write '" + tarvel::quotable(path_, 200) +
                            "' completely (the device may be full or not writable)");
    temporary_.clear();
}

void writeSearchOutputs(const SearchInput &input, const SearchResult &result,
                        SearchOutputFile &accepted, SearchOutputFile &envelope, std::ostream &out) {
    if (accepted.wanted())
        writeAcceptedPaths(input, result, accepted.stream());
    if (envelope.wanted())
        writeEnvelope(input, result, envelope.stream());
    std::ostringstream summary;
    writeSearchSummary(result, summary);
    accepted.commit();
    envelope.commit();
    out << summary.str();
    out.flush();
    if (!out)
        throw tarvel::Error("cannot write the output");
}

namespace {

// A line on a terminal that follows a running search and stays when it ends.
class ProgressLine {
public:
    ProgressLine(std::ostream &terminal, const SearchProgress &progress, std::int64_t total)
        : terminal_(terminal), progress_(progress), total_(total),
          start_(std::chrono::steady_clock::now()), thread_([this] { follow(); }) {}

    ~ProgressLine() {
        {
            const std::lock_guard lock(mutex_);
            done_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

private:
    void follow() {
        std::unique_lock lock(mutex_);
        while (!wake_.wait_for(lock, std::chrono::milliseconds(250), [this] { return done_; }))
            show("");
        show("\n");
    }

    void show(const char *end) {
        const std::int64_t done = progress_.done.load(std::memory_order_relaxed);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        const double rate = seconds > 0 ? done / seconds : 0.0;
        char line[200];
        std::snprintf(line, sizeof line,
                      "\r%lld of %lld paths, %lld good, %lld acceptable, %.0f paths/s", //
                      static_cast<long long>(done), static_cast<long long>(total_),
                      static_cast<long long>(progress_.good.load(std::memory_order_relaxed)),
                      static_cast<long long>(progress_.acceptable.load(std::memory_order_relaxed)),
                      rate);
        std::string text = line;
        if (rate > 0 && done < total_) {
            std::snprintf(line, sizeof line, ", %.0f s left", (total_ - done) / rate);
            text += line;
        }
        terminal_ << text << "\x1b[K" << end << std::flush; // the rest of the old line cleared
    }

    std::ostream &terminal_;
    const SearchProgress &progress_;
    const std::int64_t total_;
    const std::chrono::steady_clock::time_point start_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::thread thread_; // last: it starts once everything above is set
};

} // namespace

void runSearchCommand(const TDataModule1 &dataSet, const CalcOptions &options, std::ostream &out,
                      std::ostream *progress) {
    const SearchInput input = searchInput(dataSet, searchOverrides(options));
    SearchOutputFile accepted(options.acceptedCsv);
    SearchOutputFile envelope(options.envelopeCsv);
    SearchProgress counters;
    SearchControl control;
    control.keepAccepted = accepted.wanted();
    control.progress = &counters;
    SearchResult result;
    {
        std::optional<ProgressLine> line;
        if (progress)
            line.emplace(*progress, counters, input.paths);
        result = runSearch(input, control);
    }
    writeSearchOutputs(input, result, accepted, envelope, out);
}
