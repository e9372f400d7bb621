#include "wholetext.h"

#include "errors.h"
#include "parallel.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <istream>
#include <vector>

namespace {

// Large enough that each read is worth a system call, small enough that the
// cores share a file of a few megabytes.
constexpr std::size_t kPieceBytes = 4 << 20;

std::string reason(int error) {
    return std::strerror(error);
}

class OpenFile {
public:
    explicit OpenFile(const std::string &path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (fd_ < 0)
            throw tarvel::Error("cannot open: " + reason(errno));
    }
    ~OpenFile() { ::close(fd_); }
    OpenFile(const OpenFile &) = delete;
    OpenFile &operator=(const OpenFile &) = delete;

    int fd() const { return fd_; }

private:
    int fd_;
};

// Reads bytes [offset, offset + size) of the file into `to`.
void readPiece(int fd, char *to, std::size_t size, off_t offset) {
    while (size > 0) {
        const ssize_t got = ::pread(fd, to, size, offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw tarvel::Error("cannot read: " + reason(errno));
        if (got == 0)
            throw tarvel::Error("the file became shorter while it was read");
        to += got;
        size -= static_cast<std::size_t>(got);
        offset += got;
    }
}

} // namespace

WholeText readWholeFile(const std::string &path) {
    const OpenFile file(path);
    struct stat status {};
    if (::fstat(file.fd(), &status) != 0)
        throw tarvel::Error("cannot read: " + reason(errno));
    if (S_ISDIR(status.st_mode))
        throw tarvel::Error("is a directory, not a CSV file");
    if (!S_ISREG(status.st_mode)) { // a pipe or a device: its size is not known ahead
        std::ifstream in(path, std::ios::binary);
        if (!in)
            throw tarvel::Error("cannot open: " + reason(errno));
        return readWholeStream(in);
    }

    WholeText text;
    text.size = static_cast<std::size_t>(status.st_size);
    text.data = std::make_unique_for_overwrite<char[]>(text.size);
    const std::size_t pieces = (text.size + kPieceBytes - 1) / kPieceBytes;
    forEachInParallel(pieces, [&](std::size_t piece) {
        const std::size_t begin = piece * kPieceBytes;
        readPiece(file.fd(), text.data.get() + begin, std::min(kPieceBytes, text.size - begin),
                  static_cast<off_t>(begin));
    });
    return text;
}

WholeText readWholeStream(std::istream &in) {
    std::string all;
    std::vector<char> block(1 << 20);
    while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0)
        all.append(block.data(), static_cast<std::size_t>(in.gcount()));
    if (in.bad())
        throw tarvel::Error("cannot read the input");
    WholeText text;
    text.size = all.size();
    text.data = std::make_unique_for_overwrite<char[]>(text.size);
    std::copy(all.begin(), all.end(), text.data.get());
    return text;
}
