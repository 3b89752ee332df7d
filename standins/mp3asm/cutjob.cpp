#include "cutjob.h"

#include "mpegstream.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace mp3asm
{

namespace
{

std::string describe(const std::string &what, const std::string &path)
{
    return what + " '" + path + "': " + std::strerror(errno);
}

// The input, mapped read-only: a large file costs address space, not memory.
class MappedFile
{
public:
    MappedFile() = default;
    ~MappedFile()
    {
        if (m_size > 0)
            ::munmap(m_bytes, m_size);
    }
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;

    // Empty string on success, else why the file cannot be read.
    std::string map(const std::string &path)
    {
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (fd < 0)
            return describe("cannot open", path);
        struct stat info;
        std::string error;
        if (::fstat(fd, &info) != 0) {
            error = describe("cannot read", path);
        } else if (!S_ISREG(info.st_mode)) {
            error = "'" + path + "' is not a regular file";
        } else if (info.st_size > 0) {
            void *bytes = ::mmap(nullptr, info.st_size, PROT_READ, MAP_PRIVATE, fd, 0);
            if (bytes == MAP_FAILED) {
                error = describe("cannot read", path);
            } else {
                m_bytes = static_cast<unsigned char *>(bytes);
                m_size = info.st_size;
            }
        }
        ::close(fd);
        return error;
    }
    const unsigned char *data() const { return m_bytes; }
    size_t size() const { return m_size; }

private:
    unsigned char *m_bytes = nullptr;
    size_t m_size = 0;
};

std::string directoryOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, const unsigned char *bytes, size_t count)
{
    while (count > 0) {
        ssize_t n = ::write(fd, bytes, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        count -= n;
    }
    return true;
}

// Refuses to write over the input itself or over a directory.
std::string checkOutputPath(const std::string &input, const std::string &output)
{
    struct stat in, out;
    if (::stat(output.c_str(), &out) != 0)
        return std::string();
    if (S_ISDIR(out.st_mode))
        return "'" + output + "' is a directory";
    if (::stat(input.c_str(), &in) == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino)
        return "the output '" + output + "' is the input file";
    return std::string();
}

std::string writeOutput(const std::string &path, const unsigned char *data,
                        const std::vector<Frame> &frames, size_t first, size_t last,
                        const unsigned char *tag)
{
    std::string temp = directoryOf(path) + "/.mp3asm-XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return describe("cannot create a file in", directoryOf(path));
    // Frames are contiguous unless garbage lay between them: write runs, not single frames.
    bool ok = true;
    size_t i = first;
    while (ok && i < last) {
        size_t runStart = frames[i].offset;
        size_t runEnd = runStart + frames[i].length;
        while (++i < last && frames[i].offset == runEnd)
            runEnd += frames[i].length;
        ok = writeAll(fd, data + runStart, runEnd - runStart);
    }
    if (ok && tag)
        ok = writeAll(fd, tag, 128);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ok = ok && ::fchmod(fd, 0666 & ~mask) == 0;
    std::string error = ok ? std::string() : describe("cannot write", path);
    if (::close(fd) != 0 && ok)
        error = describe("cannot write", path);
    if (error.empty() && ::rename(temp.c_str(), path.c_str()) != 0)
        error = describe("cannot write", path);
    if (!error.empty())
        ::unlink(temp.c_str());
    return error;
}

double seconds(size_t frames, const MpegHeader &h)
{
    return double(frames) * h.samplesPerFrame() / h.sampleRate;
}

} // namespace

std::string cutFile(const CutOptions &o, std::FILE *log, std::FILE *warn)
{
    MappedFile input;
    std::string error = input.map(o.input);
    if (!error.empty())
        return error;
    MpegStream stream(input.data(), input.size());
    if (!stream.error().empty())
        return "'" + o.input + "': " + stream.error();

    const std::vector<Frame> &frames = stream.frames();
    const MpegHeader &h = stream.firstHeader();
    if (o.verbose) {
        std::fprintf(log, "input: %s\n", o.input.c_str());
        std::fprintf(log, "  %s layer %d, %d Hz, %s, %d kbit/s in the first frame\n",
                     h.versionName(), h.layer, h.sampleRate, h.mono ? "mono" : "stereo", h.bitRate);
        std::fprintf(log, "  %zu frames, %.2f s; ID3v2: %zu bytes skipped; ID3v1 tag: %s\n",
                     frames.size(), seconds(frames.size(), h), stream.id3v2Length(),
                     stream.hasId3v1() ? "yes" : "no");
        if (stream.infoFrameSkipped())
            std::fprintf(log, "  VBR/Info header frame not copied\n");
        if (stream.skippedBytes() > 0)
            std::fprintf(log, "  %zu bytes of garbage skipped\n", stream.skippedBytes());
    }
    if (stream.truncatedTail())
        std::fprintf(warn, "mp3asm: warning: '%s' ends in a truncated frame, left out\n",
                     o.input.c_str());

    const size_t count = frames.size();
    const size_t first = static_cast<size_t>(o.start);
    if (first >= count)
        return "start frame " + std::to_string(first) + " is past the end of '" + o.input + "' (" +
               std::to_string(count) + " frames)";
    size_t last = count;
    if (o.end)
        last = static_cast<size_t>(*o.end);
    else if (o.length)
        last = first + static_cast<size_t>(*o.length);
    if (last > count) {
        std::fprintf(warn, "mp3asm: warning: '%s' has only %zu frames; cutting %zu to %zu\n",
                     o.input.c_str(), count, first, count - 1);
        last = count;
    }

    error = checkOutputPath(o.input, o.output);
    if (!error.empty())
        return error;
    const unsigned char *tag =
        o.keepTag && stream.hasId3v1() ? input.data() + stream.id3v1Offset() : nullptr;
    error = writeOutput(o.output, input.data(), frames, first, last, tag);
    if (!error.empty())
        return error;
    if (o.verbose) {
        std::fprintf(log, "output: %s\n  frames %zu to %zu: %zu frames, %.2f s%s\n",
                     o.output.c_str(), first, last - 1, last - first, seconds(last - first, h),
                     tag ? ", ID3v1 tag kept" : (o.keepTag ? ", no ID3v1 tag to keep" : ""));
    }
    return std::string();
}

} // namespace mp3asm
