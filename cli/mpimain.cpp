// tarvel-calc-mpi: tarvel-calc --invert with the paths split between the
// processes of an MPI run, each on all its cores. Rank 0 reads the data file
// and hands its bytes to every rank; each rank builds the same search and
// runs its own consecutive share of the paths; rank 0 merges the parts in
// rank order and writes what tarvel-calc writes, byte for byte.
#include "calccommand.h"
#include "calcoptions.h"
#include "datamodule.h"
#include "errors.h"
#include "searchcommand.h"
#include "searchinput.h"
#include "searchrunner.h"
#include "tarvelversion.h"

#include <mpi.h>

#include <algorithm>
#include <clocale>
#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr const char *kUsage =
    "usage: mpirun -n RANKS tarvel-calc-mpi --invert [--paths N] [--seed S]\n"
    "                       [--accepted CSV] [--envelope CSV] [--no-steps]\n"
    "                       [--method fast|direct|precise] FILE";

// Parts of a result travel in pieces that an MPI count (an int) can hold.
constexpr std::size_t kPiece = std::size_t{1} << 26;

struct Mpi {
    int rank = 0;
    int size = 1;

    // A text from rank 0 to every rank.
    std::string broadcast(std::string text) const {
        std::uint64_t length = text.size();
        MPI_Bcast(&length, 1, MPI_UINT64_T, 0, MPI_COMM_WORLD);
        text.resize(length);
        for (std::size_t at = 0; at < length; at += kPiece)
            MPI_Bcast(text.data() + at, static_cast<int>(std::min(kPiece, length - at)), MPI_CHAR,
                      0, MPI_COMM_WORLD);
        return text;
    }

    void send(const std::vector<double> &numbers, int to) const {
        std::uint64_t length = numbers.size();
        MPI_Send(&length, 1, MPI_UINT64_T, to, 0, MPI_COMM_WORLD);
        for (std::size_t at = 0; at < length; at += kPiece)
            MPI_Send(numbers.data() + at, static_cast<int>(std::min(kPiece, length - at)),
                     MPI_DOUBLE, to, 0, MPI_COMM_WORLD);
    }

    std::vector<double> receive(int from) const {
        std::uint64_t length = 0;
        MPI_Recv(&length, 1, MPI_UINT64_T, from, 0, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
        std::vector<double> numbers(length);
        for (std::size_t at = 0; at < length; at += kPiece)
            MPI_Recv(numbers.data() + at, static_cast<int>(std::min(kPiece, length - at)),
                     MPI_DOUBLE, from, 0, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
        return numbers;
    }

    // Whether any rank failed; every rank learns it.
    bool anyFailed(bool failed) const {
        int mine = failed ? 1 : 0, any = 0;
        MPI_Allreduce(&mine, &any, 1, MPI_INT, MPI_MAX, MPI_COMM_WORLD);
        return any != 0;
    }
};

// This rank's paths: consecutive shares, the first ranks one path more when
// the paths do not divide evenly.
std::pair<std::int64_t, std::int64_t> share(std::int64_t paths, int rank, int size) {
    const std::int64_t each = paths / size, extra = paths % size;
    const std::int64_t first = each * rank + std::min<std::int64_t>(rank, extra);
    return {first, each + (rank < extra ? 1 : 0)};
}

// Every rank runs this; only rank 0 writes. Returns the exit status.
int run(const Mpi &mpi, int argc, char **argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string problem;
    const auto options = parseCalcOptions(args, problem);
    if (options && !options->help && !options->version && !options->invert)
        problem = "only the search runs across processes: give --invert";
    if (!options || !problem.empty()) {
        if (mpi.rank == 0)
            std::cerr << "tarvel-calc-mpi: " << problem << '\n' << kUsage << '\n';
        return 2;
    }
    if (options->help || options->version) {
        if (mpi.rank == 0)
            std::cout << (options->help
                              ? std::string(kUsage) + "\n\nThe options are those of "
                                                      "tarvel-calc --invert (see "
                                                      "tarvel-calc --help).\n"
                              : std::string("tarvel-calc-mpi ") + tarvel::kVersion + "\n");
        return 0;
    }

    // A failure is told once, by rank 0: a refusal every rank meets alike, or
    // the failure of the lowest path, from the first rank that failed.
    std::string failure;
    std::string bytes;
    if (mpi.rank == 0) {
        try {
            bytes = readDataFileBytes(options->file, std::cin);
        } catch (const std::exception &e) {
            failure = e.what();
        }
    }
    failure = mpi.broadcast(failure);
    if (!failure.empty()) {
        if (mpi.rank == 0)
            std::cerr << "tarvel-calc-mpi: " << options->file << ": " << failure << '\n';
        return 1;
    }
    bytes = mpi.broadcast(std::move(bytes));

    std::optional<SearchInput> input;
    try {
        TDataModule1 dataSet;
        std::istringstream in(bytes);
        dataSet.ReadDataFile(in);
        input = searchInput(dataSet, searchOverrides(*options));
    } catch (const std::exception &e) {
        if (mpi.rank == 0)
            std::cerr << "tarvel-calc-mpi: " << options->file << ": " << e.what() << '\n';
        return 1;
    }

    std::optional<SearchOutputFile> accepted, envelope;
    bool failed = false;
    if (mpi.rank == 0) {
        try {
            accepted.emplace(options->acceptedCsv);
            envelope.emplace(options->envelopeCsv);
        } catch (const std::exception &e) {
            failure = e.what();
            failed = true;
        }
    }
    if (mpi.anyFailed(failed)) {
        if (mpi.rank == 0)
            std::cerr << "tarvel-calc-mpi: " << options->file << ": " << failure << '\n';
        return 1;
    }

    SearchControl control;
    std::tie(control.first, control.count) = share(input->paths, mpi.rank, mpi.size);
    control.keepAccepted = !options->acceptedCsv.empty();
    SearchResult part;
    try {
        part = runSearch(*input, control);
    } catch (const std::exception &e) {
        failure = e.what();
        failed = true;
    }
    if (mpi.anyFailed(failed)) {
        // The ranks hold the paths in order: the first that failed holds the lowest.
        std::vector<int> flags(static_cast<std::size_t>(mpi.size));
        int mine = failed ? 1 : 0;
        MPI_Gather(&mine, 1, MPI_INT, flags.data(), 1, MPI_INT, 0, MPI_COMM_WORLD);
        int first = 0;
        if (mpi.rank == 0)
            first = static_cast<int>(std::find(flags.begin(), flags.end(), 1) - flags.begin());
        MPI_Bcast(&first, 1, MPI_INT, 0, MPI_COMM_WORLD);
        if (first != 0 && mpi.rank == first)
            MPI_Send(failure.data(), static_cast<int>(std::min(failure.size(), kPiece)), MPI_CHAR,
                     0, 1, MPI_COMM_WORLD);
        if (first != 0 && mpi.rank == 0) {
            MPI_Status status;
            MPI_Probe(first, 1, MPI_COMM_WORLD, &status);
            int length = 0;
            MPI_Get_count(&status, MPI_CHAR, &length);
            failure.assign(static_cast<std::size_t>(length), '\0');
            MPI_Recv(failure.data(), length, MPI_CHAR, first, 1, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
        }
        if (mpi.rank == 0)
            std::cerr << "tarvel-calc-mpi: " << options->file << ": " << failure << '\n';
        return 1;
    }

    if (mpi.rank != 0) {
        mpi.send(part.toNumbers(), 0);
        return 0;
    }
    try {
        for (int from = 1; from < mpi.size; ++from)
            part.merge(SearchResult::fromNumbers(mpi.receive(from)));
        part.finish();
        writeSearchOutputs(*input, part, *accepted, *envelope, std::cout);
    } catch (const std::exception &e) {
        std::cerr << "tarvel-calc-mpi: " << options->file << ": " << e.what() << '\n';
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    MPI_Init(&argc, &argv);
    // As tarvel-calc: key lines may use the locale's decimal separator.
    std::setlocale(LC_NUMERIC, "");
    std::ios::sync_with_stdio(false);
    Mpi mpi;
    MPI_Comm_rank(MPI_COMM_WORLD, &mpi.rank);
    MPI_Comm_size(MPI_COMM_WORLD, &mpi.size);
    const int status = run(mpi, argc, argv);
    std::cout.flush();
    MPI_Finalize();
    return status;
}
