// The block's "Seamless" choice: the command line's tile through the module, no seam
// for any type, the byte kept by the host, perspective refused in the dialog's words,
// and the dialog's check boxes and 2 x 2 preview over the real plug-in.
#include "HostFixture.h"

#include "dialog/PSMorvessanPluginDialogModel.h"
#include "dialog/PSMorvessanSeamlessModel.h"
#include "texture/PatternSpace.h"
#include "texture/SeamlessTile.h"
#include "tests/support/SeamRatio.h"

#include <cmath>

using namespace morvessan;
using namespace morvessan::test;

namespace {

HostImage flatImage(std::int32_t w, std::int32_t h) {
    HostImage image(w, h, 3);
    for (std::int32_t y = 0; y < h; ++y) {
        for (std::int32_t x = 0; x < w; ++x) {
            std::uint8_t* p = image.pixel(x, y);
            p[0] = p[1] = p[2] = 128;
        }
    }
    return image;
}

std::vector<std::uint8_t> tileProperty() {
    PatternSpace space;
    space.tileable = true;
    return encodePatternSpace(space);
}

} // namespace

TEST_F(PluginTest, TheSeamlessByteDrawsTheCommandLinesTileAndStaysInTheBlock) {
    const HostImage original = patternImage(70, 50, 3);
    for (std::int32_t type = kCloud; type <= kWood; ++type) {
        FilterHost byByte;
        byByte.setImage(original);
        giveBlock(byByte, [&](FilterParameters& b) {
            b.texture.type = type;
            setSeamless(b, true);
        });
        ASSERT_EQ(byByte.run(), noErr);
        EXPECT_EQ(blockOf(byByte).seamless, 1);

        // --tileable reaches the module as the host's pattern property.
        FilterHost byProperty;
        byProperty.setImage(original);
        giveBlock(byProperty, [&](FilterParameters& b) { b.texture.type = type; });
        byProperty.setComplexProperty(kPatternSpaceSignature, kPatternSpaceKey, tileProperty());
        ASSERT_EQ(byProperty.run(), noErr);
        EXPECT_EQ(byByte.image(), byProperty.image()) << type;
        EXPECT_EQ(blockOf(byProperty).seamless, 0);

        FilterHost plain;
        plain.setImage(original);
        giveBlock(plain, [&](FilterParameters& b) { b.texture.type = type; });
        ASSERT_EQ(plain.run(), noErr);
        EXPECT_NE(plain.image(), byByte.image()) << type;
    }
}

TEST_F(PluginTest, ASeamlessBlockHasNoSeamForAnyType) {
    for (std::int32_t type = kCloud; type <= kWood; ++type) {
        SeamRatio tiled;
        SeamRatio plain;
        for (std::int32_t seed = 1; seed <= 6; ++seed) {
            for (const bool seamless : {true, false}) {
                FilterHost host;
                host.setImage(flatImage(96, 96));
                giveBlock(host, [&](FilterParameters& b) {
                    b.texture.type = type;
                    b.texture.noiseSeed = seed;
                    setSeamless(b, seamless);
                });
                ASSERT_EQ(host.run(), noErr);
                (seamless ? tiled : plain).add(host.image());
            }
        }
        EXPECT_LE(tiled.ratio(), 1.15) << type;
        EXPECT_GE(tiled.ratio(), 0.8) << type;
        EXPECT_GT(plain.ratio(), 2.5) << type;
    }
}

TEST_F(PluginTest, ASeamlessBlockInPerspectiveKeepsThePlaneAndItsByte) {
    const HostImage original = patternImage(40, 30, 3);
    const auto perspective = [](FilterParameters& b) { b.texture.transformation.m[7] = 0.5; };
    FilterHost plane;
    plane.setImage(original);
    giveBlock(plane, perspective);
    ASSERT_EQ(plane.run(), noErr);
    FilterHost asked;
    asked.setImage(original);
    giveBlock(asked, [&](FilterParameters& b) {
        perspective(b);
        b.seamless = 7; // any value but 0 asks for the tile
    });
    ASSERT_EQ(asked.run(), noErr) << asked.errorString();
    EXPECT_EQ(asked.image(), plane.image());
    EXPECT_EQ(blockOf(asked).seamless, 7);
}

TEST_F(PluginTest, TheSeamlessBoxesOverThePlugin) {
    const HostImage original = patternImage(80, 60, 3);
    std::vector<std::uint8_t> shown;
    std::int32_t shownWidth = 0;
    useDialog([&](PSMorvessanPlugin& p) {
        PSMorvessanSeamlessModel model(p, p);
        EXPECT_FALSE(model.seamless());
        EXPECT_TRUE(model.seamlessEnabled());
        EXPECT_FALSE(model.showTiledEnabled());
        EXPECT_EQ(model.setShowTiled(true), unsigned{kChangeFields}); // no tile, no tiled view
        EXPECT_FALSE(model.showTiled());
        EXPECT_STREQ(model.seamlessTip().c_str(), PSMorvessanSeamlessModel::kSeamlessTip);

        // Perspective: refused with the command line's sentence, the block untouched.
        p.GetParameters()->texture.transformation.m[7] = 0.25;
        EXPECT_FALSE(model.seamlessEnabled());
        EXPECT_EQ(model.refusal().rfind("The pattern cannot be drawn: a tileable pattern needs a finite "
                                        "transformation without perspective",
                                        0),
                  0u)
            << model.refusal();
        EXPECT_EQ(model.seamlessTip(), model.refusal());
        EXPECT_EQ(model.setSeamless(true), unsigned{kChangeFields});
        EXPECT_EQ(p.GetParameters()->seamless, 0);
        p.GetParameters()->texture.transformation.m[7] = 0.0;

        EXPECT_EQ(model.setSeamless(true), unsigned{kChangePreview | kChangeFields | kChangeEnabledStates});
        EXPECT_EQ(p.GetParameters()->seamless, 1);
        EXPECT_EQ(model.setSeamless(true), unsigned{kChangeNothing});
        p.BuildOverviewImage(40, 30);
        p.SetPreviewSize(80, 60);
        EXPECT_EQ(model.setShowTiled(true), unsigned{kChangeOutputPreview | kChangeFields});
        EXPECT_TRUE(p.GetTiledView());
        // 2 x 2 copies of the whole area: each pixel repeats half the proxy further on.
        const VXImage2* out = p.GetOutputImage();
        EXPECT_NE(out, nullptr);
        if (!out) {
            return false;
        }
        const std::int32_t w = out->width(), h = out->height();
        const std::int32_t hw = (w + 1) / 2, hh = (h + 1) / 2;
        for (std::int32_t y = 0; y < h; ++y) {
            for (std::int32_t x = 0; x + hw < w; ++x) {
                EXPECT_EQ(std::memcmp(out->row(y) + 3 * x, out->row(y) + 3 * (x + hw), 3), 0) << x << "," << y;
            }
        }
        for (std::int32_t y = 0; y + hh < h; ++y) {
            EXPECT_EQ(std::memcmp(out->row(y), out->row(y + hh), 3 * std::size_t(w)), 0) << y;
        }
        shownWidth = w;
        shown.assign(out->row(0), out->row(0) + 3 * std::size_t(w));

        // A transformation that cannot tile ends the tiled view and unticks the box.
        p.GetParameters()->texture.transformation.m[7] = 0.25;
        EXPECT_FALSE(model.seamless());
        EXPECT_EQ(model.refresh(), unsigned{kChangeOutputPreview | kChangeFields | kChangeEnabledStates});
        EXPECT_FALSE(p.GetTiledView());
        p.GetParameters()->texture.transformation.m[7] = 0.0;
        EXPECT_EQ(model.refresh(), unsigned{kChangeFields | kChangeEnabledStates});
        EXPECT_EQ(model.setShowTiled(true), unsigned{kChangeOutputPreview | kChangeFields});
        // Turning the tile off leaves the plain view.
        EXPECT_EQ(model.setSeamless(false), unsigned{kChangePreview | kChangeFields | kChangeEnabledStates});
        EXPECT_FALSE(p.GetTiledView());
        EXPECT_EQ(model.setSeamless(true), unsigned{kChangePreview | kChangeFields | kChangeEnabledStates});

        // Whichever page took the tile away, the next preview ends the 2 x 2 view.
        PSMorvessanPluginDialogModel dialog(p);
        EXPECT_EQ(dialog.seamless().setShowTiled(true), unsigned{kChangeOutputPreview | kChangeFields});
        dialog.refreshPreview();
        EXPECT_TRUE(p.GetTiledView());
        p.GetParameters()->texture.transformation.m[7] = 0.25;
        dialog.refreshPreview();
        EXPECT_FALSE(p.GetTiledView());
        p.GetParameters()->texture.transformation.m[7] = 0.0;
        return true;
    });
    FilterHost host;
    host.setImage(original);
    host.setPlayInfo(plugInDialogDisplay);
    ASSERT_EQ(host.run(), noErr);
    EXPECT_EQ(m_dialog_runs, 1);
    EXPECT_EQ(blockOf(host).seamless, 1);
    EXPECT_GT(shownWidth, 0);

    // What OK drew is the seamless block's render.
    FilterHost silent;
    silent.setImage(original);
    giveBlock(silent, [](FilterParameters& b) { setSeamless(b, true); });
    ASSERT_EQ(silent.run(), noErr);
    EXPECT_EQ(host.image(), silent.image());
}
