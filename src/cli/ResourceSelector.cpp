#include "cli/ResourceSelector.h"

#include "resources/ResTypeDescription.h"
#include "text/TextHelpers.h"

#include <QSet>

namespace {
const QString kNamePrefix = QStringLiteral("name:");

QString Escaped(const QString &text, bool escapeBackslash) {
    bool plain = true;
    for (const QChar c : text)
        plain = plain && !c.isSurrogate() && c.isPrint() && (!escapeBackslash || c != QLatin1Char('\\'));
    if (plain) return text; // nearly every name
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        char32_t code = c.unicode();
        qsizetype width = 1;
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(c, text[i + 1]);
            width = 2;
        }
        if (code == u'\\') {
            out += escapeBackslash ? QStringLiteral("\\\\") : QStringLiteral("\\");
        } else if (const bool lone = c.isSurrogate() && width == 1; !lone && QChar::isPrint(code)) {
            out.append(text.constData() + i, width);
        } else if (code < 0x100) {
            out += QStringLiteral("\\x%1").arg(static_cast<uint>(code), 2, 16, QLatin1Char('0'));
        } else {
            // Outside the basic plane, one escape per UTF-16 unit keeps the form simple.
            for (qsizetype k = 0; k < width; ++k)
                out += QStringLiteral("\\u%1").arg(text[i + k].unicode(), 4, 16, QLatin1Char('0'));
        }
        i += width - 1;
    }
    return out;
}

bool AllPrintable(const QString &text) {
    return VisibleText(text) == text;
}

// A name that reads back as itself only in the name: form.
bool NeedsNameForm(const QString &text) {
    return text.isEmpty() || ReadsAsNumber(text) || text.startsWith(QLatin1Char('#')) ||
           text.startsWith(QLatin1Char('-')) || text.startsWith(kNamePrefix) || !AllPrintable(text);
}

bool IsTypeDescription(const QString &text) {
    // The descriptions of 1 to 23, and the one every other integer type shares.
    for (std::uint32_t type = 0; type <= 24; ++type)
        if (text.compare(ResTypeDescription(type), Qt::CaseInsensitive) == 0) return true;
    return false;
}

std::optional<std::uint16_t> Integer(const QString &digits) {
    const auto value = NumberValue(digits);
    if (!value || *value > 0xFFFF) return std::nullopt;
    return static_cast<std::uint16_t>(*value);
}

// The text after name:, its escapes undone; a backslash that starts no escape stands for itself.
QString Unescaped(const QString &text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\') && i + 1 < text.size()) {
            const QChar kind = text[i + 1];
            if (kind == QLatin1Char('\\')) {
                out += kind;
                ++i;
                continue;
            }
            const qsizetype digits = kind == QLatin1Char('x') ? 2 : kind == QLatin1Char('u') ? 4 : 0;
            const QString hex = text.mid(i + 2, digits);
            bool ok = digits > 0 && hex.size() == digits;
            for (const QChar h : hex)
                ok = ok && QStringLiteral("0123456789abcdefABCDEF").contains(h);
            if (ok) {
                out += QChar(static_cast<char16_t>(hex.toUInt(nullptr, 16)));
                i += 1 + digits;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// An argument read in one of its three forms.
struct Argument {
    enum Kind { ExactInteger, ExactName, Digits, Text } kind;
    std::uint16_t number = 0;
    QString text;
};

Argument Read(const QString &argument) {
    if (argument.startsWith(QLatin1Char('#')))
        if (const auto n = Integer(argument.mid(1))) return {Argument::ExactInteger, *n, {}};
    if (argument.startsWith(kNamePrefix))
        return {Argument::ExactName, 0, Unescaped(argument.mid(kNamePrefix.size()))};
    if (const auto n = Integer(argument)) return {Argument::Digits, *n, argument};
    return {Argument::Text, 0, argument};
}

bool SameName(const ResourceId &id, const QString &text) {
    return !id.isNumber() && id.name.compare(text, Qt::CaseInsensitive) == 0;
}

template <typename Pred> std::vector<ResourceId> Matching(const std::vector<ResourceId> &ids, Pred pred) {
    std::vector<ResourceId> out;
    for (const ResourceId &id : ids)
        if (pred(id)) out.push_back(id);
    return out;
}

// Each identifier once, the first of those that lookups take for the same (names compare as the
// catalogue compares them, upper-cased).
std::vector<ResourceId> Distinct(const std::vector<ResourceId> &ids) {
    std::vector<ResourceId> out;
    QSet<QString> seen;
    for (const ResourceId &id : ids) {
        const QString key =
            id.isNumber() ? QString::number(*id.number) : QLatin1Char('$') + id.name.toUpper();
        if (seen.contains(key)) continue;
        seen.insert(key);
        out.push_back(id);
    }
    return out;
}
} // namespace

QString VisibleText(const QString &text) {
    return Escaped(text, false);
}

QString TypeArgument(const ResourceId &type) {
    if (type.isNumber()) return QString::number(*type.number);
    if (NeedsNameForm(type.name) || IsTypeDescription(type.name))
        return kNamePrefix + Escaped(type.name, true);
    return type.name;
}

QString NameArgument(const ResourceId &name) {
    if (name.isNumber()) return QLatin1Char('#') + QString::number(*name.number);
    if (NeedsNameForm(name.name)) return kNamePrefix + Escaped(name.name, true);
    return name.name;
}

std::vector<ResourceId> SelectTypes(const ModuleCatalogue &module, const QString &argument) {
    const std::vector<ResourceId> types = Distinct(module.Types());
    const Argument a = Read(argument);
    const auto integer = [&](const ResourceId &t) { return t.isNumber() && *t.number == a.number; };
    const auto named = [&](const ResourceId &t) { return SameName(t, a.text); };
    switch (a.kind) {
    case Argument::ExactInteger:
        return Matching(types, integer);
    case Argument::ExactName:
        return Matching(types, named);
    case Argument::Digits:
        if (auto found = Matching(types, integer); !found.empty()) return found;
        return Matching(types, named);
    case Argument::Text:
        break;
    }
    return Matching(types, [&](const ResourceId &t) {
        return t.isNumber() ? ResTypeDescription(*t.number).compare(a.text, Qt::CaseInsensitive) == 0
                            : named(t);
    });
}

std::vector<ResourceId> DistinctTypes(const ModuleCatalogue &module) {
    return Distinct(module.Types());
}

std::vector<ResourceId> DistinctNames(const ModuleCatalogue &module, const ResourceId &type) {
    return Distinct(module.Names(type));
}

std::optional<ResourceId> SelectName(const ModuleCatalogue &module, const ResourceId &type,
                                     const QString &argument) {
    const std::vector<ResourceId> &names = module.Names(type);
    const Argument a = Read(argument);
    auto first = [&](auto pred) -> std::optional<ResourceId> {
        for (const ResourceId &n : names)
            if (pred(n)) return n;
        return std::nullopt;
    };
    const auto integer = [&](const ResourceId &n) { return n.isNumber() && *n.number == a.number; };
    const auto named = [&](const ResourceId &n) { return SameName(n, a.text); };
    switch (a.kind) {
    case Argument::ExactInteger:
        return first(integer);
    case Argument::Digits:
        if (auto found = first(integer)) return found;
        return first(named);
    default:
        return first(named);
    }
}
