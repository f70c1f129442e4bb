// Rendering the texture into the host image: the exact blend arithmetic, the
// mask, the two flags, four planes, blur, grain noise and the texture picture.
#include "HostFixture.h"

#include "VXLib/VXImageWriter.h"
#include "VXLib/VXPalette.h"
#include "renderer/TextureMapLoader.h"
#include "renderer/TextureRenderer.h"

#include <fstream>
#include <random>
#include <sstream>

using namespace morvessan;
using namespace morvessan::test;

namespace {

FilterParameters defaults() {
    FilterParameters block{};
    writeDefaultParameters(block);
    return block;
}

} // namespace

TEST_F(PluginTest, DefaultParametersBlendAGreyWhoseAlphaIsItsLevel) {
    FilterHost host;
    const HostImage original = patternImage(150, 131, 3);
    host.setImage(original);
    ASSERT_EQ(host.run(), noErr);
    const FilterParameters block = defaults();
    const auto texture = makeTexture(block.texture);
    for (std::int32_t y = 0; y < 131; y += 3) {
        for (std::int32_t x = 0; x < 150; x += 2) {
            const double v = hostValue(*texture, x, y, 150, 131);
            const int index = lookupIndex(v);
            const unsigned g = 255u * index / 1000u; // grey level = alpha
            const std::uint8_t* in = original.pixel(x, y);
            const std::uint8_t* out = host.image().pixel(x, y);
            for (int k = 0; k < 3; ++k) {
                ASSERT_EQ(out[k], (in[k] * (255u - g) + g * g) / 255u) << x << "," << y << "," << k;
            }
        }
    }
}

TEST_F(PluginTest, OpacityZeroAndUnselectedPixelsStayAsTheyWere) {
    FilterHost host;
    const HostImage original = patternImage(140, 70, 3);
    host.setImage(original);
    giveBlock(host, [](FilterParameters& b) { b.texture.totalOpacity = 0.0; });
    ASSERT_EQ(host.run(), noErr);
    EXPECT_EQ(host.image(), original);

    // With a selection, mask byte 0 leaves the pixel; 255 takes the full blend.
    host.setImage(original);
    giveBlock(host, [](FilterParameters&) {});
    HostMask mask(140, 70, 0);
    for (std::int32_t x = 0; x < 140; ++x) {
        mask.at(x, 10) = 255;
    }
    host.setMask(mask);
    ASSERT_EQ(host.run(), noErr);
    EXPECT_FALSE(host.record().autoMask);
    int changed = 0;
    for (std::int32_t y = 0; y < 70; ++y) {
        for (std::int32_t x = 0; x < 140; ++x) {
            const bool same = std::memcmp(host.image().pixel(x, y), original.pixel(x, y), 3) == 0;
            if (y != 10) {
                ASSERT_TRUE(same) << x << "," << y;
            } else if (!same) {
                ++changed;
            }
        }
    }
    EXPECT_GT(changed, 100);
}

TEST_F(PluginTest, PartialMaskScalesTheAlpha) {
    FilterHost host;
    HostImage original(130, 4, 3, 0);
    host.setImage(original);
    host.setMask(HostMask(130, 4, 128));
    giveBlock(host, [](FilterParameters& b) {
        b.texture.colourCount = 1;
        b.texture.colours[0] = 0xC8FFFFFFu; // white, alpha 200
    });
    ASSERT_EQ(host.run(), noErr);
    const unsigned a = 200u * 128u / 255u;
    EXPECT_EQ(host.image().pixel(129, 3)[0], 255u * a / 255u);
    EXPECT_EQ(host.image().pixel(0, 0)[2], 255u * a / 255u);
}

TEST_F(PluginTest, OverwriteWithScaleBySourceReplacesEveryPixel) {
    FilterHost host;
    const HostImage original = patternImage(130, 40, 3);
    host.setImage(original);
    HostMask mask(130, 40, 0);
    mask.at(5, 5) = 255;
    host.setMask(mask);
    giveBlock(host, [](FilterParameters& b) {
        b.scaleBySource = 1;
        b.overwriteSource = 1;
        b.texture.colourCount = 2;
        b.texture.colours[0] = 0x00102030u;
        b.texture.colours[1] = 0x80F0E0D0u;
    });
    ASSERT_EQ(host.run(), noErr);
    const FilterParameters block = blockOf(host);
    const auto texture = makeTexture(block.texture);
    const auto table = buildColourTable(block.texture, ColourOrder::Host);
    for (std::int32_t y = 0; y < 40; ++y) {
        for (std::int32_t x = 0; x < 130; ++x) {
            const std::uint8_t* in = original.pixel(x, y);
            const double v = hostValue(*texture, x, y, 130, 40);
            const int s = in[0] + in[1] + in[2];
            const int index = scaledLookupIndex(v, s);
            const std::uint8_t* out = host.image().pixel(x, y);
            for (int k = 0; k < 3; ++k) {
                ASSERT_EQ(out[k], table[index].channel[k]) << x << "," << y;
            }
        }
    }

    // "Overwrite source" alone does nothing special: the pixel is blended.
    host.setImage(original);
    host.setMask(std::nullopt);
    giveBlock(host, [](FilterParameters& b) { b.overwriteSource = 1; });
    ASSERT_EQ(host.run(), noErr);
    const double v = hostValue(*makeTexture(defaults().texture), 3, 3, 130, 40);
    const unsigned g = 255u * static_cast<unsigned>(lookupIndex(v)) / 1000u;
    EXPECT_EQ(host.image().pixel(3, 3)[1], (original.pixel(3, 3)[1] * (255u - g) + g * g) / 255u);
}

TEST_F(PluginTest, FourPlanesBlendWithTheSourceAlpha) {
    FilterHost host;
    const HostImage original = patternImage(60, 50, 4);
    host.setImage(original);
    giveBlock(host, [](FilterParameters& b) {
        b.texture.colours[0] = 0x00FF0000u;
        b.texture.colours[1] = 0xFF0000FFu;
    });
    ASSERT_EQ(host.run(), noErr);
    const FilterParameters block = blockOf(host);
    const auto texture = makeTexture(block.texture);
    const auto table = buildColourTable(block.texture, ColourOrder::Host);
    for (std::int32_t y = 0; y < 50; ++y) {
        for (std::int32_t x = 0; x < 60; ++x) {
            const std::uint8_t* i = original.pixel(x, y);
            const ColourEntry& c = table[lookupIndex(hostValue(*texture, x, y, 60, 50))];
            const unsigned s = i[3];
            const unsigned a = c.alpha;
            const unsigned o = s + a - s * a / 255u;
            const std::uint8_t* out = host.image().pixel(x, y);
            ASSERT_EQ(out[3], o);
            if (o == 0) {
                ASSERT_EQ(out[0] | out[1] | out[2], 0);
                continue;
            }
            for (int k = 0; k < 3; ++k) {
                ASSERT_EQ(out[k], (i[k] * s * (255u - a) / 255u + c.channel[k] * a) / o) << x << "," << y;
            }
        }
    }

    // A transparent colour over a transparent pixel gives all four bytes 0.
    HostImage clear(3, 1, 4, 77);
    for (int x = 0; x < 3; ++x) {
        clear.pixel(x, 0)[3] = 0;
    }
    host.setImage(clear);
    giveBlock(host, [](FilterParameters& b) {
        b.texture.colourCount = 1;
        b.texture.colours[0] = 0x00FFFFFFu;
    });
    ASSERT_EQ(host.run(), noErr);
    EXPECT_EQ(host.image().pixels, std::vector<std::uint8_t>(12, 0));
}

TEST_F(PluginTest, FourPlaneOverwriteTakesTheMaskedEntryAlpha) {
    FilterHost host;
    host.setImage(patternImage(20, 20, 4));
    host.setMask(HostMask(20, 20, 51));
    giveBlock(host, [](FilterParameters& b) {
        b.scaleBySource = 1;
        b.overwriteSource = 1;
        b.texture.colourCount = 1;
        b.texture.colours[0] = 0xFF332211u;
    });
    ASSERT_EQ(host.run(), noErr);
    const std::uint8_t* p = host.image().pixel(7, 9);
    EXPECT_EQ(p[0], 0x11);
    EXPECT_EQ(p[1], 0x22);
    EXPECT_EQ(p[2], 0x33);
    EXPECT_EQ(p[3], 255 * 51 / 255);
}

TEST(TextureRenderer, BlurTenInTheHostRenderAveragesSevenBySeven) {
    TextureFields fields;
    fields.blurEnabled = 1;
    fields.blur = 10;
    EXPECT_EQ(blurBorder(fields, 128, 128), 3);
    EXPECT_EQ(blurBorder(fields, 17, 17), 3);
    EXPECT_EQ(blurBorder(fields, 100, 400), 1); // a preview four times reduced: (3·100 + 200) / 400
    fields.blur = 100;
    EXPECT_EQ(blurBorder(fields, 128, 128), 21);
    fields.blur = 2000000000; // a block from elsewhere cannot ask for more
    EXPECT_EQ(blurBorder(fields, 128, 128), 21);
    fields.blur = -7;
    EXPECT_EQ(blurBorder(fields, 128, 128), 1);
    fields.blurEnabled = 0;
    EXPECT_EQ(blurBorder(fields, 128, 128), 0);

    fields = TextureFields{};
    fields.blurEnabled = 1;
    fields.blur = 10;
    const auto texture = makeTexture(fields);
    TextureRenderSettings settings;
    settings.texture = texture.get();
    settings.fields = &fields;
    settings.filterRect = {0, 0, 300, 200};
    const VXPSRect rect{128, 0, 148, 12};
    const std::vector<double> values = textureValues(settings, 20, 12, rect);
    ASSERT_EQ(values.size(), 20u * 12u);
    const double dx = 20.0 / (300.0 * 20);
    const double dy = 12.0 / (200.0 * 12);
    // Unblurred values of the bordered buffer, coordinates advancing by addition.
    std::vector<double> raw(26 * 18);
    double y = 0.0 / 200 - 3 * dy;
    for (int r = 0; r < 18; ++r, y += dy) {
        double x = 128.0 / 300 - 3 * dx;
        for (int c = 0; c < 26; ++c, x += dx) {
            raw[r * 26 + c] = texture->evaluate(x, y);
        }
    }
    for (int r = 0; r < 12; ++r) {
        for (int c = 0; c < 20; ++c) {
            double sum = 0.0;
            for (int i = 0; i < 7; ++i) {
                for (int j = 0; j < 7; ++j) {
                    sum += raw[(r + i) * 26 + c + j];
                }
            }
            ASSERT_NEAR(values[r * 20 + c], sum / 49.0, 1e-12) << r << "," << c;
        }
    }
}

TEST(TextureRenderer, GrainNoiseAddsScaledDrawsAndClamps) {
    TextureFields fields;
    fields.noiseEnabled = 1;
    fields.noise = 100;
    const auto texture = makeTexture(fields);
    MersenneTwister random(1);
    TextureRenderSettings settings;
    settings.texture = texture.get();
    settings.fields = &fields;
    settings.random = &random;
    settings.filterRect = {0, 0, 64, 64};
    const VXPSRect rect{0, 0, 64, 8};
    const std::vector<double> noisy = textureValues(settings, 32, 4, rect); // amount = 100·32·0.01/64 = 0.5
    settings.random = nullptr;
    fields.noiseEnabled = 0;
    const std::vector<double> plain = textureValues(settings, 32, 4, rect);
    MersenneTwister check(1);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const double u = check.Next() / 4294967295.0;
        ASSERT_EQ(noisy[i], std::clamp(plain[i] + 0.5 * (u - 0.5), -1.0, 1.0)) << i;
    }
}

TEST_F(PluginTest, GrainNoiseDrawsTheSameSequenceEveryRender) {
    const HostImage original = patternImage(140, 30, 3);
    std::vector<HostImage> results;
    for (int run = 0; run < 2; ++run) {
        FilterHost host;
        host.setImage(original);
        giveBlock(host, [](FilterParameters& b) {
            b.texture.noiseEnabled = 1;
            b.texture.noise = 60;
        });
        ASSERT_EQ(host.run(), noErr);
        results.push_back(host.image());
        morvessanPlugin().GetRandom().Next(); // a stray draw between renders changes nothing
    }
    EXPECT_EQ(results[0], results[1]);
    FilterHost host;
    host.setImage(original);
    ASSERT_EQ(host.run(), noErr);
    EXPECT_NE(host.image(), results[0]);
}

TEST(TextureRenderer, TexturePictureRepeatsAcrossTheTile) {
    TextureFields fields;
    fields.textureEnabled = 1;
    fields.textureAmount = 50;
    const auto texture = makeTexture(fields);
    VXImage2 map;
    const VXPalette grey = VXPalette::greyPalette();
    ASSERT_TRUE(map.create(3, 2, 8, &grey));
    const std::uint8_t pixels[2][3] = {{0, 128, 255}, {100, 200, 50}};
    for (int r = 0; r < 2; ++r) {
        std::memcpy(map.row(r), pixels[r], 3);
    }
    TextureRenderSettings settings;
    settings.texture = texture.get();
    settings.fields = &fields;
    settings.textureImage = &map;
    settings.filterRect = {0, 0, 100, 100};
    const VXPSRect rect{4, 7, 24, 17}; // 10 x 5 pixels: steps 2 and 2
    const std::vector<double> with = textureValues(settings, 10, 5, rect);
    settings.textureImage = nullptr;
    const std::vector<double> without = textureValues(settings, 10, 5, rect);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 10; ++x) {
            const int p = pixels[(7 + 2 * y) % 2][(4 + 2 * x) % 3];
            const double expected = std::clamp(without[y * 10 + x] + 50.0 * (p - 128) * 0.000078125, -1.0, 1.0);
            ASSERT_EQ(with[y * 10 + x], expected) << x << "," << y;
        }
    }
    // A picture that cannot be read is the neutral map: no effect.
    const auto neutral = loadTextureMap("/no/such/picture.png");
    ASSERT_TRUE(neutral);
    EXPECT_EQ(neutral->width(), 20);
    EXPECT_EQ(neutral->height(), 20);
    settings.textureImage = neutral.get();
    EXPECT_EQ(textureValues(settings, 10, 5, rect), without);
}

TEST_F(PluginTest, TexturePictureIsDecodedOnceWhileItsFileIsUnchanged) {
    const std::string path = (m_folder / "map.png").string();
    const VXPalette grey = VXPalette::greyPalette();
    VXImage2 picture;
    ASSERT_TRUE(picture.create(4, 3, 8, &grey));
    ASSERT_TRUE(saveImageFile(path, picture));
    const auto first = loadTextureMap(path);
    EXPECT_EQ(loadTextureMap(path), first);
    ASSERT_TRUE(picture.create(5, 3, 8, &grey));
    ASSERT_TRUE(saveImageFile(path, picture));
    const auto changed = loadTextureMap(path);
    EXPECT_NE(changed, first);
    EXPECT_EQ(changed->width(), 5);
}

TEST(TextureRenderer, ScaledColourIndexStaysInTheTable) {
    EXPECT_EQ(scaledLookupIndex(1.0, 765), static_cast<int>(765 / 768.0 * 2.0 * 499.95));
    EXPECT_EQ(scaledLookupIndex(1.0, 0), 0);
    EXPECT_EQ(scaledLookupIndex(5.0, 765), 999);
    EXPECT_EQ(scaledLookupIndex(std::nan(""), 765), 0);
}

TEST(MersenneTwister, SeedsBy69069AndMatchesTheStandardGenerator) {
    MersenneTwister random(0); // 0 is taken as 1
    EXPECT_EQ(random.State()[0], 1u);
    EXPECT_EQ(random.State()[1], 69069u);
    EXPECT_EQ(random.State()[2], 69069u * 69069u);
    // The same state loaded into the standard library's MT19937 gives the same outputs.
    std::stringstream state;
    for (std::uint32_t word : random.State()) {
        state << word << ' ';
    }
    state << MersenneTwister::kStateSize; // the position: the whole state is still to be generated
    std::mt19937 reference;
    state >> reference;
    for (int i = 0; i < 2000; ++i) {
        ASSERT_EQ(random.Next(), reference()) << i;
    }
}

// A texture picture is held while a render or the dialog uses it, and freed after:
// a large one must not stay in memory until the module is unloaded.
TEST_F(PluginTest, TexturePictureIsFreedWhenTheCallEnds) {
    const std::string path = (m_folder / "large.png").string();
    const VXPalette grey = VXPalette::greyPalette();
    VXImage2 picture;
    ASSERT_TRUE(picture.create(64, 48, 8, &grey));
    ASSERT_TRUE(saveImageFile(path, picture));
    std::weak_ptr<const VXImage2> seen = loadTextureMap(path);
    EXPECT_TRUE(seen.expired()); // nobody holds it

    FilterHost host;
    host.setImage(patternImage(30, 20, 3));
    giveBlock(host, [&](FilterParameters& block) {
        block.texture.textureEnabled = 1;
        block.texture.textureAmount = 40;
        copyToField(block.texture.texturePath, kPathSize, path);
    });
    ASSERT_EQ(host.run(), noErr);
    EXPECT_EQ(morvessanPlugin().GetTextureImage(), nullptr);
    EXPECT_EQ(morvessanPlugin().GetTexture(), nullptr);
    seen = loadTextureMap(path);
    EXPECT_TRUE(seen.expired());
}

// A texture picture too large is told from its header and never decoded: the map
// is the neutral one, and the reason names the limit.
TEST_F(PluginTest, ATexturePictureTooLargeIsToldFromItsHeader) {
    // Bitmap headers of 24-bit pictures with no pixel data behind them.
    const auto header = [&](const std::string& name, std::uint32_t width, std::uint32_t height) {
        std::string bytes(54, '\0');
        const auto put = [&bytes](std::size_t at, std::uint32_t value) {
            for (int i = 0; i < 4; ++i) {
                bytes[at + i] = static_cast<char>(value >> (8 * i));
            }
        };
        bytes[0] = 'B';
        bytes[1] = 'M';
        put(2, 54);
        put(10, 54);
        put(14, 40);
        put(18, width);
        put(22, height);
        bytes[26] = 1;
        bytes[28] = 24;
        const std::string path = (m_folder / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    };
    const std::string huge = header("huge.bmp", 9000, 8000);
    EXPECT_EQ(textureMapSizeProblem(huge),
              "it is 9000 x 8000 pixels, more than the 8192 x 8192 a texture picture may have");
    const auto map = loadTextureMap(huge);
    EXPECT_EQ(map->width(), 20);
    EXPECT_EQ(map->height(), 20);
    EXPECT_EQ(textureMapSizeProblem(header("most.bmp", 8192, 8192)), "");
    EXPECT_EQ(textureMapSizeProblem((m_folder / "missing.png").string()), "");

    // Before the dialog opens, the user is told why.
    useDialog([](PSMorvessanPlugin&) { return true; });
    FilterHost host;
    host.setPlayInfo(plugInDialogDisplay);
    host.setImage(patternImage(20, 20, 3));
    giveBlock(host, [&](FilterParameters& block) {
        block.texture.textureEnabled = 1;
        copyToField(block.texture.texturePath, kPathSize, huge);
    });
    ASSERT_EQ(host.run(), noErr);
    ASSERT_FALSE(m_platform->messages().empty());
    EXPECT_NE(m_platform->messages().back().text.find("(it is 9000 x 8000 pixels, more than the 8192 x 8192"),
              std::string::npos)
        << m_platform->messages().back().text;
}
