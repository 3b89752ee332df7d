#include "lyrics/textdecoder.h"

#include "platform/logging.h"

#include <QStringDecoder>

namespace
{

// Made once, on first use. Stateless: every call starts afresh, so a truncated
// multibyte sequence at the end of one text never leaks into the next.
QStringDecoder &decoderFor(LyricCharset charset)
{
    static QStringDecoder gbk("GBK", QStringConverter::Flag::Stateless);
    static QStringDecoder big5("Big5", QStringConverter::Flag::Stateless);
    return charset == LyricCharset::Big5 ? big5 : gbk;
}

} // namespace

QString TextDecoder::decodeText(const QByteArray &bytes)
{
    return decode(bytes, LyricCharset::Gbk);
}

QString TextDecoder::decode(const QByteArray &bytes, LyricCharset charset)
{
    QStringDecoder &decoder = decoderFor(charset);
    if (!decoder.isValid()) {
        // A Qt built without ICU has neither codec; show the bytes rather than nothing.
        static bool warned = false;
        if (!warned) {
            qCWarning(lcLyrics) << "GBK/Big5 codecs unavailable, falling back to Latin-1";
            warned = true;
        }
        return QString::fromLatin1(bytes);
    }
    return decoder.decode(bytes);
}
