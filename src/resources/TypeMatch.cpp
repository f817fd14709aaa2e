#include "resources/TypeMatch.h"

#include "text/TextHelpers.h"

bool IsTypeOf(const ResourceId &type, std::initializer_list<std::uint16_t> numbers,
              std::initializer_list<const char *> names) {
    std::optional<std::uint32_t> number = type.number;
    if (!type.isNumber()) {
        for (const char *name : names)
            if (type.name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return true;
        // "014" is no number here: only the digits an integer type is written with.
        number = NumberValue(type.name);
        if (number && QString::number(*number) != type.name) number.reset();
    }
    if (!number) return false;
    for (const std::uint16_t n : numbers)
        if (n == *number) return true;
    return false;
}
