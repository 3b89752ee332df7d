#include "tagfile.h"

#include "genres.h"
#include "id3v1tag.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tagtool
{

namespace
{

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Non-blocking so that a FIFO cannot hang the run; it is refused as not a regular file.
int openFile(const std::string &path, int mode)
{
    int fd;
    do {
        fd = ::open(path.c_str(), mode | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Reads exactly count bytes at offset; false on error or end of file.
bool readAt(int fd, unsigned char *to, size_t count, off_t offset)
{
    while (count > 0) {
        ssize_t n = ::pread(fd, to, count, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        to += n;
        count -= n;
        offset += n;
    }
    return true;
}

bool writeAt(int fd, const unsigned char *from, size_t count, off_t offset)
{
    while (count > 0) {
        ssize_t n = ::pwrite(fd, from, count, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        from += n;
        count -= n;
        offset += n;
    }
    return true;
}

// The two bytes that tell an MP3 and the last 128 bytes of the file, in one read when the
// file is small. Missing head bytes read as zero; under 128 bytes there is no tail at all.
struct Ends {
    unsigned char head[2] = {0, 0};
    bool hasTail = false;
    Id3v1Tag::Bytes tail;
};

bool readEnds(int fd, off_t size, Ends &ends)
{
    unsigned char whole[4096];
    if (size <= off_t(sizeof whole)) {
        if (!readAt(fd, whole, size, 0))
            return false;
        std::copy_n(whole, std::min<off_t>(size, 2), ends.head);
        ends.hasTail = size >= Id3v1Tag::size;
        if (ends.hasTail)
            std::copy_n(whole + size - Id3v1Tag::size, Id3v1Tag::size, ends.tail.begin());
        return true;
    }
    ends.hasTail = true;
    return readAt(fd, ends.head, 2, 0) &&
           readAt(fd, ends.tail.data(), ends.tail.size(), size - Id3v1Tag::size);
}

// The first frame header's sync: FF, then the top three bits of the next byte set.
bool looksLikeMp3(const unsigned char *head)
{
    return head[0] == 0xFF && (head[1] & 0xE0) == 0xE0;
}

void applyFields(const Options &o, Id3v1Tag &tag)
{
    if (o.song)
        tag.setText(TagField::Song, *o.song);
    if (o.artist)
        tag.setText(TagField::Artist, *o.artist);
    if (o.album)
        tag.setText(TagField::Album, *o.album);
    if (o.year)
        tag.setText(TagField::Year, *o.year);
    if (o.comment)
        tag.setText(TagField::Comment, *o.comment);
    if (o.track)
        tag.setTrack(*o.track);
    if (o.genre)
        tag.setGenre(*o.genre);
}

void printTag(const std::string &path, const Id3v1Tag &tag, std::FILE *out)
{
    std::fprintf(out, "\nFile:\t\t%s\n", path.c_str());
    std::fprintf(out, "Song:\t\t%s\n", tag.text(TagField::Song).c_str());
    std::fprintf(out, "Artist:\t\t%s\n", tag.text(TagField::Artist).c_str());
    std::fprintf(out, "Album:\t\t%s\n", tag.text(TagField::Album).c_str());
    std::fprintf(out, "Year:\t\t%s\n", tag.text(TagField::Year).c_str());
    std::fprintf(out, "Comment:\t%s\n", tag.text(TagField::Comment).c_str());
    std::fprintf(out, "Track:\t\t%d\n", tag.track());
    std::fprintf(out, "Genre:\t\t%s(%d)\n\n", genreName(tag.genre()), tag.genre());
}

} // namespace

FileOutcome processFile(const std::string &path, const Options &options, std::FILE *out)
{
    const bool updates = options.changesFields();
    // A read-only file may still be tested, listed, or "deleted" when it has no tag.
    int fd = -1;
    bool writable = false;
    if (updates || options.remove) {
        fd = openFile(path, O_RDWR);
        writable = fd >= 0;
    }
    if (fd < 0)
        fd = openFile(path, O_RDONLY);
    if (fd < 0)
        return FileOutcome::CantOpen;
    FileDescriptor guard(fd);

    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return FileOutcome::CantOpen;
    const off_t size = info.st_size;
    Ends ends;
    const bool readable = readEnds(fd, size, ends);
    if (!options.force && !(readable && looksLikeMp3(ends.head)))
        return FileOutcome::NotMp3;
    // A file shorter than a tag never holds one.
    bool hasTag = readable && ends.hasTail && Id3v1Tag::startsWithTag(ends.tail.data());
    Id3v1Tag tag = hasTag ? Id3v1Tag(ends.tail) : Id3v1Tag();

    if ((updates || (options.remove && hasTag)) && !writable)
        return FileOutcome::CantOpen;

    if (updates) {
        applyFields(options, tag);
        // Written and then deleted comes to the same bytes as not written at all.
        if (!options.remove) {
            off_t at = hasTag ? size - 128 : size;
            if (!writeAt(fd, tag.bytes().data(), tag.bytes().size(), at)) {
                if (!hasTag)
                    (void)::ftruncate(fd, size);
                return FileOutcome::CantWrite;
            }
            hasTag = true;
        }
    }
    if (options.remove) {
        if (hasTag && ::ftruncate(fd, size - 128) != 0)
            return FileOutcome::CantWrite;
        hasTag = false;
    }
    if (options.list) {
        if (hasTag)
            printTag(path, tag, out);
        else
            std::fprintf(out, "File:\t\t%s (no tag)\n", path.c_str());
    }
    return FileOutcome::Done;
}

} // namespace tagtool
