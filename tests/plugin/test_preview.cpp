// Zoom levels, the preview rectangle and the five proxies fetched from the
// host at reduced sampling rates, with scrolling by exposed bands.
#include "TestFilter.h"

#include "VXLib/VXImage2.h"

#include <gtest/gtest.h>

using namespace morvessan;
using namespace morvessan::test;

namespace {

// The visible bytes of an image, row by row.
std::vector<std::uint8_t> bytesOf(VXImage2* image) {
    std::vector<std::uint8_t> bytes;
    if (!image) {
        return bytes;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(image->width()) * image->bitCount() / 8;
    for (int y = 0; y < image->height(); ++y) {
        const std::uint8_t* row = image->row(y);
        bytes.insert(bytes.end(), row, row + rowBytes);
    }
    return bytes;
}

// Runs `inside` during Start of a run over `image` (with `mask` when given).
void duringStart(HostImage image, std::optional<HostMask> mask, std::function<void(TestFilter&)> inside) {
    TestFilter filter;
    filter.start = std::move(inside);
    PluginOverride use(filter);
    FilterHost host;
    host.setImage(std::move(image));
    host.setMask(std::move(mask));
    ASSERT_EQ(host.run(), noErr);
}

HostMask stripeMask(std::int32_t w, std::int32_t h) {
    HostMask mask(w, h, 0);
    for (std::int32_t y = 0; y < h; ++y) {
        for (std::int32_t x = 0; x < w; ++x) {
            mask.at(x, y) = static_cast<std::uint8_t>((x / 3 + y) * 37);
        }
    }
    return mask;
}

} // namespace

TEST(Preview, SmallFilterRectangleIsEnlargedUpToSevenToOne) {
    duringStart(gradientImage(50, 50, 3), std::nullopt, [](TestFilter& f) {
        f.SetPreviewSize(300, 300);
        EXPECT_EQ(f.GetZoom(), -4); // 6:1
        EXPECT_EQ(f.GetZoomInLimit(), -5);
        EXPECT_EQ(f.GetZoomOutLimit(), -4);
        EXPECT_FALSE(f.CanZoomOut());
        std::int32_t w = 0, h = 0;
        f.GetVisibleSize(w, h);
        EXPECT_EQ(w, 50);
        EXPECT_EQ(h, 50);
        f.ZoomOut(); // beyond the limit: nothing
        EXPECT_EQ(f.GetZoom(), -4);
        f.ZoomIn();
        EXPECT_EQ(f.GetZoom(), -5);
        EXPECT_FALSE(f.CanZoomIn());
        f.GetVisibleSize(w, h);
        EXPECT_EQ(w, 300 / 7);
        EXPECT_EQ(f.GetPreviewRect(), (VXPSRect{25 - 21, 25 - 21, 25 - 21 + 42, 25 - 21 + 42}));
        f.ZoomIn();
        EXPECT_EQ(f.GetZoom(), -5);
        // Enlarged levels fetch at 1:1.
        ASSERT_NE(f.GetSourceImage(), nullptr);
        EXPECT_EQ(f.GetSourceImage()->width(), 42);
    });
}

TEST(Preview, LargeFilterRectangleIsReducedBySampling) {
    duringStart(gradientImage(1000, 400, 3), std::nullopt, [](TestFilter& f) {
        f.SetPreviewSize(200, 200);
        EXPECT_EQ(f.GetZoom(), 5);
        EXPECT_EQ(f.GetZoomOutLimit(), 5);
        EXPECT_EQ(f.GetZoomInLimit(), -5);
        EXPECT_FALSE(f.CanZoomOut());
        VXImage2* source = f.GetSourceImage();
        ASSERT_NE(source, nullptr);
        EXPECT_EQ(source->width(), 200);
        EXPECT_EQ(source->height(), 80);
        EXPECT_EQ(source->bitCount(), 24);
        // Pixel (x, y) is image pixel (5x, 5y), blue first.
        const std::uint8_t* p = source->row(7) + 3 * 11;
        EXPECT_EQ(p[2], static_cast<std::uint8_t>(55));
        EXPECT_EQ(p[1], static_cast<std::uint8_t>(35));
        EXPECT_EQ(p[0], static_cast<std::uint8_t>(55 + 70));
        EXPECT_EQ(f.GetDisplayImage(), source); // no selection: the source itself
        EXPECT_EQ(f.GetMaskImage(), nullptr);

        f.ZoomIn();
        EXPECT_EQ(f.GetZoom(), 4);
        EXPECT_EQ(f.GetPreviewRect(), (VXPSRect{100, 0, 900, 400}));
        EXPECT_EQ(f.GetSourceImage()->width(), 200);
        EXPECT_EQ(f.GetSourceImage()->height(), 100);
        EXPECT_TRUE(f.CanZoomOut());

        f.BuildOverviewImage(100, 100);
        ASSERT_NE(f.GetOverviewImage(), nullptr);
        EXPECT_EQ(f.GetOverviewImage()->width(), 100);
        EXPECT_EQ(f.GetOverviewImage()->height(), 40);
        EXPECT_EQ(f.GetOverviewImage()->row(1)[3 * 2 + 2], static_cast<std::uint8_t>(20));
    });
}

TEST(Preview, ShadedAndMaskProxiesUnderASelection) {
    const HostImage image = gradientImage(90, 60, 4);
    const HostMask mask = stripeMask(90, 60);
    duringStart(image, mask, [&](TestFilter& f) {
        f.SetPreviewSize(45, 30);
        ASSERT_EQ(f.GetZoom(), 2);
        VXImage2* shaded = f.GetShadedImage();
        VXImage2* maskImage = f.GetMaskImage();
        ASSERT_NE(shaded, nullptr);
        ASSERT_NE(maskImage, nullptr);
        EXPECT_EQ(f.GetDisplayImage(), shaded);
        EXPECT_EQ(shaded->bitCount(), 32);
        EXPECT_EQ(maskImage->bitCount(), 8);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 45; ++x) {
                const std::uint8_t m = mask.at(2 * x, 2 * y);
                const std::uint8_t* s = image.pixel(2 * x, 2 * y);
                const std::uint8_t* d = shaded->row(y) + 4 * x;
                ASSERT_EQ(maskImage->row(y)[x], m);
                ASSERT_EQ(d[0], ((m + 255) * s[2]) >> 9);
                ASSERT_EQ(d[1], ((m + 255) * s[1]) >> 9);
                ASSERT_EQ(d[2], ((m + 255) * s[0]) >> 9);
                ASSERT_EQ(d[3], s[3]);
            }
        }
        // The output proxy is rendered under the mask proxy, from the source proxy.
        ASSERT_FALSE(f.tiles.empty());
        EXPECT_TRUE(f.tiles.back().masked);
        EXPECT_EQ(f.tiles.back().rect, (VXPSRect{0, 0, 90, 60}));
        EXPECT_EQ(f.tiles.back().out.layout, kLayoutBGRA);
        EXPECT_EQ(f.beginRenders.back(), true);
    });
}

TEST(Preview, OutputProxyAtOneToOneEqualsTheHostRender) {
    std::vector<std::uint8_t> proxy;
    VXPSRect rect;
    duringStart(gradientImage(300, 200, 3), std::nullopt, [&](TestFilter& f) {
        f.SetPreviewSize(100, 80);
        while (f.GetZoom() > 1) {
            f.ZoomIn();
        }
        f.SetPreviewRect({37, 51, 0, 0});
        rect = f.GetPreviewRect();
        proxy = bytesOf(f.GetOutputImage());
    });
    EXPECT_EQ(rect, (VXPSRect{37, 51, 137, 131}));
    TestFilter filter;
    PluginOverride use(filter);
    FilterHost host;
    host.setImage(gradientImage(300, 200, 3));
    ASSERT_EQ(host.run(), noErr);
    ASSERT_EQ(proxy.size(), 100u * 80u * 3u);
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 100; ++x) {
            const std::uint8_t* p = host.image().pixel(rect.left + x, rect.top + y);
            const std::uint8_t* q = proxy.data() + (y * 100 + x) * 3;
            ASSERT_EQ(p[0], q[2]);
            ASSERT_EQ(p[1], q[1]);
            ASSERT_EQ(p[2], q[0]);
        }
    }
}

TEST(Preview, ScrollWithBandUpdatesEqualsAFullRebuild) {
    const HostImage image = gradientImage(400, 300, 3);
    const HostMask mask = stripeMask(400, 300);
    duringStart(image, mask, [&](TestFilter& f) {
        f.SetPreviewSize(100, 100);
        ASSERT_EQ(f.GetZoom(), 4);
        f.ZoomIn();
        f.ZoomIn();
        ASSERT_EQ(f.GetZoom(), 2);
        const std::vector<std::pair<int, int>> moves{{13, -7}, {-40, 33}, {0, 1}, {500, 500}, {-3, -1000}, {1, 0}};
        for (const auto& [dx, dy] : moves) {
            const VXPSRect before = f.GetPreviewRect();
            f.ScrollPreview(dx, dy);
            const VXPSRect r = f.GetPreviewRect();
            EXPECT_EQ(r.width(), before.width());
            EXPECT_GE(r.left, 0);
            EXPECT_GE(r.top, 0);
            EXPECT_LE(r.right, 400);
            EXPECT_LE(r.bottom, 300);
            const auto source = bytesOf(f.GetSourceImage());
            const auto shaded = bytesOf(f.GetShadedImage());
            const auto maskBytes = bytesOf(f.GetMaskImage());
            const auto output = bytesOf(f.GetOutputImage());
            f.SetPreviewRect(r); // the full rebuild
            ASSERT_EQ(f.GetPreviewRect(), r);
            EXPECT_EQ(source, bytesOf(f.GetSourceImage())) << dx << "," << dy;
            EXPECT_EQ(shaded, bytesOf(f.GetShadedImage())) << dx << "," << dy;
            EXPECT_EQ(maskBytes, bytesOf(f.GetMaskImage())) << dx << "," << dy;
            EXPECT_EQ(output, bytesOf(f.GetOutputImage())) << dx << "," << dy;
        }
        // Moves are whole proxy pixels, and stop at the filter's edges.
        f.SetPreviewRect({100, 100, 0, 0});
        f.ScrollPreview(3, 0);
        EXPECT_EQ(f.GetPreviewRect().left, 104);
        f.ScrollPreview(-1000, 0);
        EXPECT_EQ(f.GetPreviewRect().left, 0);
    });
}

TEST(Preview, HelpFileIsTheModuleWithChmExtension) {
    TestFilter filter;
    std::string path;
    filter.GetHelpFilePath(path);
    EXPECT_EQ(path.substr(path.size() < 4 ? 0 : path.size() - 4), ".chm");
}
