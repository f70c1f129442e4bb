// Streamed runs: rows handed on in order once each, equal to the whole-image run's
// rows with masks, rectangles and sizes off the tile grid; a refusing sink; a band
// of rows held, whatever the height; the pipe that carries rows to the encoder.
#include "HostFixture.h"

#include "host/HostRowPipe.h"

#include <algorithm>

using namespace morvessan;
using namespace morvessan::test;

namespace {

// A canvas whose every row differs, so that a row served from the wrong place shows.
void fillRow(std::int32_t width, std::int32_t planes, std::int32_t y, std::uint8_t* row) {
    for (std::int32_t i = 0; i < width * planes; ++i) {
        row[i] = static_cast<std::uint8_t>(y * 7 + i * 3);
    }
}

HostImage filledImage(std::int32_t width, std::int32_t height, std::int32_t planes) {
    HostImage image(width, height, planes);
    for (std::int32_t y = 0; y < height; ++y) {
        fillRow(width, planes, y, image.pixel(0, y));
    }
    return image;
}

struct Streamed {
    std::vector<std::uint8_t> pixels;
    std::vector<std::int32_t> order;
    int16 result = noErr;
    std::size_t mostHeld = 0;
};

// One run with the rows streamed (made by fill when `canvas`), and what reached the sink.
Streamed streamRun(FilterHost& host, HostImage image, bool canvas, std::int32_t refuseAt = -1) {
    const std::int32_t width = image.width;
    const std::int32_t planes = image.planes;
    if (canvas) {
        image.pixels.clear();
    }
    host.setImage(std::move(image));
    Streamed out;
    HostRowStream stream;
    if (canvas) {
        stream.fill = [width, planes](std::int32_t y, std::uint8_t* row) { fillRow(width, planes, y, row); };
    }
    stream.take = [&](std::int32_t y, const std::uint8_t* row) {
        out.mostHeld = std::max(out.mostHeld, host.image().pixels.size());
        if (y == refuseAt) {
            return false;
        }
        out.order.push_back(y);
        out.pixels.insert(out.pixels.end(), row, row + std::size_t(width) * planes);
        return true;
    };
    host.setRowStream(std::move(stream));
    out.result = host.run();
    return out;
}

std::vector<std::int32_t> upTo(std::int32_t n) {
    std::vector<std::int32_t> rows(static_cast<std::size_t>(n));
    for (std::int32_t y = 0; y < n; ++y) {
        rows[static_cast<std::size_t>(y)] = y;
    }
    return rows;
}

} // namespace

TEST_F(PluginTest, StreamedRowsAreTheWholeRunsRowsInOrder) {
    struct Case {
        std::int32_t width, height, planes;
        std::optional<VXPSRect> rect;
        bool masked;
    };
    const Case cases[] = {
        {300, 261, 3, std::nullopt, false},                // off the tile grid both ways
        {129, 257, 4, std::nullopt, true},                 // four planes, a mask
        {333, 300, 3, VXPSRect{10, 130, 211, 259}, false}, // rows above, inside and below the rectangle
        {200, 140, 4, VXPSRect{0, 5, 200, 6}, true},       // one row filtered
    };
    for (const Case& c : cases) {
        for (const bool canvas : {false, true}) {
            SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + (canvas ? " canvas" : " image"));
            std::optional<HostMask> mask;
            if (c.masked) {
                mask.emplace(c.width, c.height, 0);
                for (std::int32_t y = 0; y < c.height; ++y) {
                    for (std::int32_t x = 0; x < c.width; ++x) {
                        mask->at(x, y) = static_cast<std::uint8_t>((x * 5 + y * 3) % 256);
                    }
                }
            }
            FilterHost whole;
            whole.setImage(filledImage(c.width, c.height, c.planes));
            whole.setMask(mask);
            whole.setFilterRect(c.rect);
            ASSERT_EQ(whole.run(), noErr);

            // Unpadded, the host serves the input from its own rows, banded or whole.
            FilterHost inPlace;
            inPlace.setRowPadding(0);
            inPlace.setImage(filledImage(c.width, c.height, c.planes));
            inPlace.setMask(mask);
            inPlace.setFilterRect(c.rect);
            ASSERT_EQ(inPlace.run(), noErr);
            EXPECT_TRUE(inPlace.image().pixels == whole.image().pixels);

            for (const std::int32_t padding : {5, 0}) {
                FilterHost host;
                host.setRowPadding(padding);
                host.setMask(mask);
                host.setFilterRect(c.rect);
                const Streamed streamed = streamRun(host, filledImage(c.width, c.height, c.planes), canvas);
                ASSERT_EQ(streamed.result, noErr);
                EXPECT_EQ(streamed.order, upTo(c.height));
                EXPECT_TRUE(streamed.pixels == whole.image().pixels) << "padding " << padding;
            }
        }
    }
}

TEST_F(PluginTest, AStreamedCanvasHoldsABandOfRowsAndARefusedRowEndsTheRun) {
    FilterHost host;
    HostImage shape;
    shape.width = 64;
    shape.height = 2000;
    shape.planes = 3;
    const Streamed tall = streamRun(host, shape, true);
    ASSERT_EQ(tall.result, noErr);
    EXPECT_EQ(tall.order.size(), 2000u);
    // One tile's rows (and a few more being made), never the picture.
    EXPECT_LE(tall.mostHeld, std::size_t(64) * 3 * 200);

    const Streamed refused = streamRun(host, shape, true, 700);
    EXPECT_EQ(refused.result, kRowSinkErr);
    EXPECT_EQ(refused.order, upTo(700));

    // The canvas's rows past the last request leave at the end too.
    host.setFilterRect(VXPSRect{0, 0, 64, 10});
    const Streamed top = streamRun(host, shape, true);
    ASSERT_EQ(top.result, noErr);
    EXPECT_EQ(top.order, upTo(2000));
    std::vector<std::uint8_t> last(64 * 3);
    fillRow(64, 3, 1999, last.data());
    EXPECT_TRUE(std::equal(last.begin(), last.end(), top.pixels.end() - 64 * 3));
}

TEST(HostRowPipe, RowsArriveInOrderUntilATakeFails) {
    // Far more rows than the ring holds, so that the two sides wait on each other.
    std::vector<std::uint8_t> seen;
    {
        HostRowPipe pipe(3, [&seen](const std::uint8_t* row) {
            seen.insert(seen.end(), row, row + 3);
            return true;
        });
        for (int y = 0; y < 5000; ++y) {
            const std::uint8_t row[3] = {std::uint8_t(y), std::uint8_t(y >> 8), 7};
            ASSERT_TRUE(pipe.put(row));
        }
        EXPECT_TRUE(pipe.close());
        ASSERT_EQ(seen.size(), 15000u); // close waited for the last
    }
    for (int y = 0; y < 5000; ++y) {
        ASSERT_EQ(seen[std::size_t(y) * 3], std::uint8_t(y));
        ASSERT_EQ(seen[std::size_t(y) * 3 + 1], std::uint8_t(y >> 8));
    }

    // Fewer rows than wake the thread: close still hands them on.
    std::vector<std::uint8_t> few;
    {
        HostRowPipe pipe(2, [&few](const std::uint8_t* row) {
            few.insert(few.end(), row, row + 2);
            return true;
        });
        for (std::uint8_t y = 0; y < 5; ++y) {
            const std::uint8_t row[2] = {y, 9};
            ASSERT_TRUE(pipe.put(row));
        }
        EXPECT_TRUE(pipe.close());
    }
    EXPECT_EQ(few, (std::vector<std::uint8_t>{0, 9, 1, 9, 2, 9, 3, 9, 4, 9}));

    // Rows so wide that the ring holds only eight: taken half a ring at a time.
    std::vector<std::uint8_t> firsts;
    {
        const std::size_t wide = std::size_t(1) << 20;
        HostRowPipe pipe(wide, [&firsts, wide](const std::uint8_t* row) {
            firsts.push_back(row[0]);
            return row[wide - 1] == row[0];
        });
        std::vector<std::uint8_t> row(wide);
        for (int y = 0; y < 40; ++y) {
            row.front() = row.back() = static_cast<std::uint8_t>(y);
            ASSERT_TRUE(pipe.put(row.data()));
        }
        EXPECT_TRUE(pipe.close());
    }
    ASSERT_EQ(firsts.size(), 40u);
    for (int y = 0; y < 40; ++y) {
        EXPECT_EQ(firsts[static_cast<std::size_t>(y)], y);
    }

    int taken = 0;
    HostRowPipe failing(1, [&taken](const std::uint8_t*) { return ++taken < 10; });
    const std::uint8_t row[1] = {0};
    bool accepted = true;
    for (int y = 0; y < 100000 && accepted; ++y) {
        accepted = failing.put(row);
    }
    EXPECT_FALSE(accepted); // the failure reached the render's side
    EXPECT_FALSE(failing.close());
    EXPECT_EQ(taken, 10); // nothing taken after the failed row
}
