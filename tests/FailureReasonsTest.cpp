// Loaders that make nothing say why: the picture decoders and the dialog builder keep the failure
// that stopped them, so a missing resource, a truncated template, an unknown class and a file past
// the quota are told apart.
#include "Fixtures.h"
#include "decoders/PictureDecoders.h"
#include "views/dialogs/DialogView.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {
ResourceEntry Entry(std::uint16_t type, const char *name) {
    return {ResourceId::fromNumber(type), ResourceId::fromName(QLatin1String(name))};
}
} // namespace

TEST(FailureReasons, PicturesAndDialogsSayWhyNothingWasMade) {
    const auto module = ModuleCatalogue::Open(FixturePath(QStringLiteral("reasons32.dll")));
    ASSERT_NE(module, nullptr);
    QWidget host;
    const auto dialog = [&](const char *name) {
        return CreateDialogFromModule(*module, Entry(5, name), &host, ModulePictures(*module, {})).failure();
    };
    const auto picture = [&](std::uint16_t type, const char *name) {
        return DecodeResourcePicture(*module, Entry(type, name), {}).failure();
    };
    struct Case {
        const char *what;
        std::optional<ErrorReport> failure;
        int code;
        const char *mentions;
    };
    for (const Case &c : {
             Case{"truncated template", dialog("TRUNCATED"), ErrorReport::OutOfRange, ""},
             Case{"missing menu", dialog("NOMENU"), ErrorReport::ResourceNotFound, ""},
             Case{"unknown control class", dialog("UNKNOWN"), ErrorReport::WindowClassNotFound,
                  "NOSUCHCLASS"},
             Case{"no such dialog", dialog("NONE"), ErrorReport::ResourceNotFound, ""},
             Case{"bitmap cut short", picture(2, "CUTBMP"), ErrorReport::OutOfRange, ""},
             Case{"no such bitmap", picture(2, "NONE"), ErrorReport::ResourceNotFound, ""},
             Case{"group without images", picture(14, "BADGROUP"), ErrorReport::InvalidPicture, ""},
             Case{"not a picture type", picture(10, "DATA"), ErrorReport::InvalidPicture, "10"},
         }) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.failure.has_value());
        EXPECT_EQ(c.failure->code(), c.code) << c.failure->description().toStdString();
        EXPECT_TRUE(c.failure->description().contains(QLatin1String(c.mentions)));
    }
    EXPECT_TRUE(host.findChildren<QWidget *>().isEmpty()); // nothing half-made stays behind
}
