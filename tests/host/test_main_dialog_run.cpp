// The main dialog's models driven inside whole runs: edits then Cancel, zoom,
// pan and locator against the live proxies, and the dialog's startup log lines.
#include "HostFixture.h"

#include "dialog/PSMorvessanPluginDialogModel.h"

using namespace morvessan;
using namespace morvessan::test;

TEST_F(PluginTest, MainDialogEditsSurviveCancel) {
    useDialog([](PSMorvessanPlugin& plugin) {
        PSMorvessanPluginDialogModel dialog(plugin);
        dialog.beginOpening();
        dialog.previewReady(60, 40);
        dialog.endOpening();
        EXPECT_NE(dialog.customisePage().texturePage().chooseType(3) & kChangePreview, 0u);
        dialog.setOpacity(40);
        EXPECT_EQ(dialog.navigate(NavigationButton::MoveRight, 100), kChangePreview);
        dialog.refreshPreview();
        EXPECT_NE(plugin.GetOutputImage(), nullptr);
        return false;
    });
    FilterHost host;
    host.setPlayInfo(std::nullopt);
    const HostImage original = patternImage(60, 40, 3);
    host.setImage(original);
    EXPECT_EQ(host.run(), userCanceledErr);
    EXPECT_EQ(host.image(), original);
    const FilterParameters block = blockOf(host);
    EXPECT_EQ(block.texture.type, kWood);
    EXPECT_EQ(block.texture.totalOpacity, 40.0);
    EXPECT_NE(block.texture.transformation.m[2], 0.0);
}

TEST_F(PluginTest, MainDialogZoomPanAndLocatorStayInsideTheFilter) {
    m_platform->setKeyDown(VXKey::Shift, true);
    const std::size_t logged = startupLog().Text().size();
    useDialog([this](PSMorvessanPlugin& plugin) {
        PSMorvessanPluginDialogModel dialog(plugin);
        dialog.beginOpening();
        dialog.previewReady(100, 100);
        dialog.endOpening();
        dialog.idle();
        dialog.idle();
        EXPECT_EQ(m_platform->messages().size(), 1u);
        EXPECT_EQ(dialog.ratioText(), "1:4");
        EXPECT_FALSE(dialog.canZoomOut());
        EXPECT_EQ(dialog.zoomOut(), kChangeNothing);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(dialog.zoomIn(), kChangeAllPreviews);
        }
        EXPECT_EQ(dialog.ratioText(), "1:1");
        EXPECT_TRUE(dialog.locatorEnabled());
        EXPECT_EQ(plugin.GetPreviewRect(), (VXPSRect{150, 100, 250, 200}));

        VXPSPreviewControlModel& original = dialog.originalPreview();
        original.press(50, 50);
        original.beginDrag();
        EXPECT_EQ(original.drag(1050, 1050), kChangeSourcePreview | kChangeOutputPreview);
        EXPECT_EQ(plugin.GetPreviewRect(), (VXPSRect{0, 0, 100, 100}));
        original.drag(-5000, -5000);
        EXPECT_EQ(plugin.GetPreviewRect(), (VXPSRect{300, 200, 400, 300}));
        original.release();

        VXPSLocatorModel& locator = dialog.locator();
        locator.open(plugin.GetOverviewImage()->width(), plugin.GetOverviewImage()->height());
        EXPECT_EQ(locator.client(), (PixelRect{0, 0, 100, 75}));
        EXPECT_EQ(locator.release(-100, -100), kChangeAllPreviews);
        EXPECT_EQ(plugin.GetPreviewRect(), (VXPSRect{0, 0, 100, 100}));

        PSMorvessanPreviewControlModel& preview = dialog.texturePreview();
        const TextureTransform before = plugin.GetParameters()->texture.transformation;
        preview.press(10, 10);
        preview.beginDrag();
        EXPECT_EQ(preview.drag(30, 10), kChangePreview);
        preview.release();
        EXPECT_NE(plugin.GetParameters()->texture.transformation.m[2], before.m[2]);
        return true;
    });
    FilterHost host;
    host.setPlayInfo(std::nullopt);
    host.setImage(patternImage(400, 300, 3));
    ASSERT_EQ(host.run(), noErr);
    const std::string log = startupLog().Text().substr(logged);
    const std::size_t setup = log.find("Setup took ");
    const std::size_t reached = log.find("Get to OnInitDialog after ");
    const std::size_t opened = log.find("PSMorvessanPluginDialog::OnInitDialog took ");
    const std::size_t total = log.find("\nTotal plugin startup time ");
    EXPECT_LT(setup, reached);
    EXPECT_LT(reached, opened);
    EXPECT_LT(opened, total);
    EXPECT_NE(total, std::string::npos);
}
