// The descriptor's terms and the terminology resource that names them: every
// field of the block under a key of its own, and the resource's bytes as a host reads them.
#include "resources/descriptor/DescriptorTerms.h"
#include "texture/TextureFieldTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace morvessan;

TEST(Terminology, EveryFieldOfTheBlockHasAKeyAndATypeByItsKind) {
    const auto terms = descriptorTerms();
    ASSERT_EQ(terms.size(), textureFields().size() + 6);
    std::set<std::uint32_t> keys;
    for (std::size_t i = 0; i < textureFields().size(); ++i) {
        EXPECT_EQ(terms[i].name, textureFields()[i].name);
        EXPECT_EQ(findDescriptorTerm(terms[i].key), &terms[i]);
        keys.insert(terms[i].key);
    }
    EXPECT_EQ(terms[0].value, DescriptorValue::Integer); // type
    EXPECT_EQ(terms[1].value, DescriptorValue::Float);   // noiseLevel, a double in the block
    EXPECT_EQ(terms[3].value, DescriptorValue::Text);    // colours
    EXPECT_EQ(terms[8].value, DescriptorValue::Boolean); // blurEnabled
    const char* own[] = {"presetFile", "categoryIndex", "seamless", "scaleBySource", "overwriteSource", "presetName"};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(terms[textureFields().size() + i].name, own[i]);
        keys.insert(terms[textureFields().size() + i].key);
    }
    EXPECT_EQ(keys.size(), terms.size());
    EXPECT_EQ(findDescriptorTerm(fourCharCode("zzzz")), nullptr);
    EXPECT_EQ(terms[2].key, fourCharCode("mvSd")); // recorded actions keep their keys
}

TEST(Terminology, TheResourceHoldsOneEventWithAParameterPerTerm) {
    const std::vector<std::uint8_t> bytes = encodeTerminology();
    // Version 1.0, English, Roman, one suite named "Morvessan".
    const std::vector<std::uint8_t> head{1, 0, 0, 0, 0, 0, 1, 0, 9, 'M', 'o', 'r', 'v', 'e', 's', 's', 'a', 'n'};
    ASSERT_GT(bytes.size(), head.size());
    EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));
    // Each term's name, then its key and type as little-endian numbers.
    for (const DescriptorTerm& term : descriptorTerms()) {
        std::vector<std::uint8_t> needle{static_cast<std::uint8_t>(term.name.size())};
        needle.insert(needle.end(), term.name.begin(), term.name.end());
        if (needle.size() % 2 != 0) {
            needle.push_back(0);
        }
        const auto at = std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end());
        ASSERT_NE(at, bytes.end()) << term.name;
        // Aligned to an even offset, as the host reads counted strings in this resource.
        EXPECT_EQ((at - bytes.begin()) % 2, 0) << term.name;
        const auto key = at + static_cast<std::ptrdiff_t>(needle.size());
        ASSERT_LE(key + 8, bytes.end());
        EXPECT_EQ(std::uint32_t(key[0]) | std::uint32_t(key[1]) << 8 | std::uint32_t(key[2]) << 16 |
                      std::uint32_t(key[3]) << 24,
                  term.key)
            << term.name;
    }
    // Ends with no classes, comparison operators or enumerations.
    EXPECT_TRUE(std::equal(bytes.end() - 6, bytes.end(), std::vector<std::uint8_t>(6, 0).begin()));
    EXPECT_EQ(bytes.size() % 2, 0u);

    // The PiPL's property: version, class, event, the resource's id, the scope string.
    const std::vector<std::uint8_t> property = terminologyPropertyData();
    ASSERT_EQ(property.size(), 14u + kTerminologyScope.size() + 1);
    EXPECT_EQ(property[12] | property[13] << 8, kTerminologyResourceId);
    EXPECT_EQ(property.back(), 0);
}
