#include "decoders/AcceleratorText.h"

#include "decoders/ResourceAccess.h"
#include "pe/ByteReader.h"
#include "system/ErrorReport.h"

namespace {
constexpr std::uint16_t kShift = 0x04;
constexpr std::uint16_t kControl = 0x08;
constexpr std::uint16_t kAlt = 0x10;
constexpr std::size_t kEntrySize = 8;

struct NamedKey {
    std::int32_t code;
    const char *name;
};
constexpr NamedKey kNamedKeys[] = {
    {3, "CANCEL"},  {8, "BACKSPACE"},     {9, "TAB"},        {12, "CLEAR"},       {13, "ENTER"},
    {16, "SHIFT"},  {17, "CTRL"},         {18, "MENU"},      {19, "PAUSE"},       {20, "CAPS LOCK"},
    {27, "ESC"},    {32, "SPACEBAR"},     {33, "PAGE UP"},   {34, "PAGE DOWN"},   {35, "END"},
    {36, "HOME"},   {37, "LEFT ARROW"},   {38, "UP ARROW"},  {39, "RIGHT ARROW"}, {40, "DOWN ARROW"},
    {41, "SELECT"}, {42, "PRINT SCREEN"}, {43, "EXECUTE"},   {44, "SNAPSHOT"},    {45, "INS"},
    {46, "DEL"},    {47, "HELP"},         {144, "NUM LOCK"},
};
} // namespace

QString KeyName(std::int32_t code) {
    // Letters and digits have virtual-key codes equal to their characters.
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) return QString(QChar(code));
    if (code >= 112 && code <= 127) return QStringLiteral("F") + QString::number(code - 111);
    for (const NamedKey &key : kNamedKeys)
        if (key.code == code) return QLatin1String(key.name);
    return QStringLiteral("VIRTUAL KEY ") + QString::number(code);
}

QString AcceleratorText(std::span<const std::byte> table) {
    const std::size_t count = table.size() / kEntrySize;
    // No whole entry: there is no entry array to make.
    if (count == 0) ErrorReport::outOfRange();
    ByteReader reader(table.first(count * kEntrySize));
    QString text;
    for (std::size_t i = 0; i < count; ++i) {
        // Every entry is shown, also after one flagged as the last (0x80); the key is always named
        // as a virtual key, whatever the virtual-key flag (0x01) says.
        const std::uint16_t flags = reader.u16();
        const std::int16_t key = reader.i16();
        const std::int16_t command = reader.i16();
        reader.skip(2); // padding
        if (flags & kShift) text += QStringLiteral("SHIFT+");
        if (flags & kControl) text += QStringLiteral("CTRL+");
        if (flags & kAlt) text += QStringLiteral("ALT+");
        text +=
            KeyName(key) + QStringLiteral(" (cmdID = ") + QString::number(command) + QStringLiteral(")\r\n");
    }
    return text;
}

QString AcceleratorText(const ModuleCatalogue &module, const ResourceEntry &entry) {
    const auto bytes = GetResourceBytes(module, entry);
    if (!bytes) ErrorReport::outOfRange();
    return AcceleratorText(*bytes);
}
