#include "fuzz/support.h"
#include "fuzz/targets.h"
#include "lyrics/lyrictable.h"

// The first byte picks the character set; the rest is the file.
int orbalfuzz::lrc(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const LyricCharset charset = data[0] & 1 ? LyricCharset::Big5 : LyricCharset::Gbk;
    const LyricTable table = LyricTable::fromLrc(bytesOf(data + 1, size - 1), charset);
    FUZZ_CHECK(table.size() >= 2);
    FUZZ_CHECK(table.at(0).time == 0.0 && table.at(0).text.isEmpty());
    const LyricLine &last = table.at(table.size() - 1);
    FUZZ_CHECK(last.time == LyricTable::kEndTime && last.text.isEmpty());
    for (int i = 1; i < table.size(); ++i) {
        FUZZ_CHECK(table.at(i - 1).time <= table.at(i).time);
        // The panel asks for the line at every entry's own time.
        const int at = table.lineAt(table.at(i).time);
        FUZZ_CHECK(at >= i && table.at(at).time == table.at(i).time);
    }
    FUZZ_CHECK(table.lineAt(-1.0) == 0);
    FUZZ_CHECK(table.lineAt(LyricTable::kEndTime * 2) == table.size() - 1);
    return 0;
}
