#include "views/media/MediaViews.h"

#include "decoders/ResourceAccess.h"
#include "resources/Playback.h"
#include "resources/TextHelpers.h"
#include "system/ErrorReport.h"
#include "system/Twips.h"
#include "views/display/DisplayBox.h"
#include "views/display/Viewport.h"
#include "views/media/MediaControl.h"

#include <algorithm>
#include <cmath>

namespace {
// Reply buffers of the queries: 127 characters for the video's, 255 for the sound's.
constexpr int kVideoReplyLength = 127;
constexpr int kSoundReplyLength = 255;

// Steps shared by the three views: stop what plays, fetch the bytes, write the temporary file.
void WriteResourceToTempFile(const ModuleCatalogue &module, const ResourceEntry &entry) {
    StopPlayback();
    const std::optional<ResourceBytes> bytes = GetResourceBytes(module, entry);
    // A missing or empty resource has no array: touching it is an index out of range, raised
    // before the file is written or a device opened.
    if (!bytes) ErrorReport::outOfRange();
    WriteTempFile(*bytes);
}

// 1-based position of `what` in `text` at or after `start`; 0 when absent, as the program's
// string search counts.
qsizetype InStr(qsizetype start, const QString &text, QChar what) {
    if (start < 1) ErrorReport::invalidArgument();
    if (start > text.size()) return 0;
    return text.indexOf(what, start - 1) + 1;
}

// `length` characters of `text` from the 1-based `start` (to the end without a length); a start
// below 1 or a negative length is an invalid argument (code 5), as in the program's string cuts.
QString Mid(const QString &text, qsizetype start, qsizetype length) {
    if (start < 1 || length < 0) ErrorReport::invalidArgument();
    if (start > text.size()) return QString();
    return text.mid(start - 1, length);
}
QString Mid(const QString &text, qsizetype start) {
    if (start < 1) ErrorReport::invalidArgument();
    return text.mid(start - 1);
}

// A whole number as the program rounds one: halves to even; beyond 32 bits is an overflow.
std::int64_t Whole(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 2147483647.0) ErrorReport::overflow();
    return RoundHalfEven(value);
}

// Integer division of whole numbers, truncating toward zero.
std::int64_t IntDiv(std::int64_t a, std::int64_t b) {
    if (b == 0) throw ErrorReport(11, QStringLiteral("Деление на ноль"));
    return a / b;
}
} // namespace

double ReplyNumber(const QString &text) {
    QString number;
    bool digits = false, point = false, exponent = false;
    for (const QChar ch : text) {
        if (ch == QLatin1Char(' ') || ch == QLatin1Char('\t') || ch == QLatin1Char('\n') ||
            ch == QLatin1Char('\r'))
            continue; // blanks count for nothing, even between digits
        const QChar last = number.isEmpty() ? QChar() : number.back();
        if (ch.isDigit() && ch.unicode() < 128) {
            number += ch;
            digits = true;
        } else if ((ch == QLatin1Char('+') || ch == QLatin1Char('-')) &&
                   (number.isEmpty() || last == QLatin1Char('E'))) {
            number += ch;
        } else if (ch == QLatin1Char('.') && !point && !exponent) {
            number += ch;
            point = true;
        } else if ((ch == QLatin1Char('e') || ch == QLatin1Char('E') || ch == QLatin1Char('d') ||
                    ch == QLatin1Char('D')) &&
                   digits && !exponent) {
            number += QLatin1Char('E');
            exponent = true;
        } else {
            break;
        }
    }
    while (!number.isEmpty() && !number.back().isDigit() && number.back() != QLatin1Char('.'))
        number.chop(1);
    if (!digits) return 0;
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0;
}

bool ShowVideo(const ModuleCatalogue &module, const ResourceEntry &entry, DisplayBox &display) {
    WriteResourceToTempFile(module, entry);
    MediaControl::Open(MediaControl::Device::Video, TempFilePath(), &display);

    // "left top width height": the width is the text from the second space up to the third, the
    // height everything after the third. A reply with fewer than three spaces (no clip open)
    // makes one of the cuts below an invalid argument.
    const QString reply = MediaControl::WhereVideoDestination().left(kVideoReplyLength);
    const qsizetype b = InStr(1, reply, QLatin1Char(' '));
    const qsizetype c = InStr(b + 1, reply, QLatin1Char(' '));
    const qsizetype d = InStr(c + 1, reply, QLatin1Char(' '));
    const double width = ReplyNumber(Mid(reply, c, d - c));
    const double height = ReplyNumber(Mid(reply, d + 1));

    const double tppX = TwipsPerPixelX(), tppY = TwipsPerPixelY();
    const std::int64_t w = Whole(width * tppX);
    const std::int64_t h = Whole(height * tppY);
    // The box never becomes smaller than the visible area and grows for a larger clip.
    const std::int64_t boxW = std::max<std::int64_t>(w, ViewportWidth);
    const std::int64_t boxH = std::max<std::int64_t>(h, ViewportHeight);
    display.Move(0, 0, TwipsToPixelsX(static_cast<double>(boxW)), TwipsToPixelsY(static_cast<double>(boxH)));

    // The clip at its own size in pixels, centred in the box.
    const double readW = PixelsToTwipsX(display.width());
    const double readH = PixelsToTwipsY(display.height());
    const std::int64_t x = IntDiv(Whole(readW - static_cast<double>(w)), Whole(2 * tppX));
    const std::int64_t y = IntDiv(Whole(readH - static_cast<double>(h)), Whole(2 * tppY));
    const std::int64_t pw = IntDiv(w, Whole(tppX));
    const std::int64_t ph = IntDiv(h, Whole(tppY));
    MediaControl::PutVideoWindowAt(CheckedCast<int>(x), CheckedCast<int>(y), CheckedCast<int>(pw),
                                   CheckedCast<int>(ph));
    MediaControl::PlayVideoRepeat();
    return true;
}

bool ShowSound(const ModuleCatalogue &module, const ResourceEntry &entry, DisplayBox &display) {
    WriteResourceToTempFile(module, entry);
    MediaControl::Open(MediaControl::Device::Sound, TempFilePath());
    MediaControl::Play(MediaControl::Device::Sound);
    // An empty reply (the sound could not be opened) counts as 0 milliseconds.
    const QString reply = TrimAtNul(MediaControl::StatusSoundLength().left(kSoundReplyLength));
    const double value = ReplyNumber(reply);
    if (std::fabs(value) > 9.0e18) ErrorReport::overflow();
    const std::int64_t ms = RoundHalfEven(value);
    display.Print(QStringLiteral("Информация о звуке:\r\n"));
    display.Print(QStringLiteral("Время воспроизведения: ") + QString::number(ms) +
                  QStringLiteral(" миллисекунд"));
    return true;
}

bool ShowMusic(const ModuleCatalogue &module, const ResourceEntry &entry, DisplayBox &display) {
    WriteResourceToTempFile(module, entry);
    MediaControl::Open(MediaControl::Device::Music, TempFilePath());
    MediaControl::Play(MediaControl::Device::Music);
    // The kind is this fixed text; the file is not looked into.
    display.Print(QStringLiteral("Информация о музыке:\r\n"));
    display.Print(QStringLiteral("Тип музыки: стандартный файл MIDI"));
    return true;
}
