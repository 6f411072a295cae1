#include "sources/registry_text.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

RegistryData Data(std::uint32_t type, std::vector<std::uint8_t> bytes) {
    return {type, std::move(bytes)};
}

TEST(RegistryText, StringsDropOneTerminatingNul) {
    EXPECT_EQ(RegistryText(Data(regtype::kSz, {'a', 0, 'b', 0, 0, 0})), L"ab");
    EXPECT_EQ(RegistryText(Data(regtype::kSz, {'a', 0, 'b', 0})), L"ab"); // stored without terminator
    EXPECT_EQ(RegistryText(Data(regtype::kExpandSz, {'%', 0, 'x', 0, '%', 0, 0, 0})), L"%x%");
    EXPECT_EQ(RegistryText(Data(regtype::kSz, {})), L"");
    EXPECT_EQ(RegistryText(Data(regtype::kSz, {0x36, 0x04, 0xE4, 0x00, 0, 0})), L"\x0436\x00e4");
}

TEST(RegistryText, MultiStringKeepsItsInnerNuls) {
    const std::wstring expected(L"a\0bc\0", 5);
    EXPECT_EQ(RegistryText(Data(regtype::kMultiSz, {'a', 0, 0, 0, 'b', 0, 'c', 0, 0, 0, 0, 0})), expected);
}

TEST(RegistryText, NumbersAreUnsignedDecimal) {
    EXPECT_EQ(RegistryText(Data(regtype::kDword, {16, 0, 0, 0})), L"16");
    EXPECT_EQ(RegistryText(Data(regtype::kDword, {0xFF, 0xFF, 0xFF, 0xFF})), L"4294967295");
    EXPECT_EQ(RegistryText(Data(regtype::kDword, {0x00, 0x80, 0, 0})), L"32768");
    EXPECT_EQ(RegistryText(Data(regtype::kQword, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})),
              L"18446744073709551615");
    EXPECT_EQ(RegistryText(Data(regtype::kQword, {1, 0, 0, 0, 1, 0, 0, 0})), L"4294967297");
}

TEST(RegistryText, OtherTypesOneCharacterPerByteAllBytes) {
    EXPECT_EQ(RegistryText(Data(regtype::kBinary, {0x01, 0x00, 0xFF})), std::wstring(L"\x01\x00\xFF", 3));
    EXPECT_EQ(RegistryText(Data(regtype::kNone, {'x'})), L"x");
    EXPECT_EQ(RegistryText(Data(regtype::kDword, {1, 2})), std::wstring(L"\x01\x02", 2)); // too short a DWORD
}

TEST(RegistryDataFromText, WritesStringsWithTheirTerminator) {
    EXPECT_EQ(RegistryDataFromText(L"ab", regtype::kSz), Data(regtype::kSz, {'a', 0, 'b', 0, 0, 0}));
    EXPECT_EQ(RegistryDataFromText(std::wstring(L"1\0"
                                                L"2\0\0",
                                                5),
                                   regtype::kMultiSz),
              Data(regtype::kMultiSz, {'1', 0, 0, 0, '2', 0, 0, 0, 0, 0}));
}

TEST(RegistryDataFromText, NumbersMustBeWholeAndInRange) {
    EXPECT_EQ(RegistryDataFromText(L"4294967295", regtype::kDword),
              Data(regtype::kDword, {0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(RegistryDataFromText(L" 16 ", regtype::kDword), Data(regtype::kDword, {16, 0, 0, 0}));
    EXPECT_EQ(RegistryDataFromText(L"4294967296", regtype::kDword), std::nullopt);
    EXPECT_EQ(RegistryDataFromText(L"-1", regtype::kDword), std::nullopt);
    EXPECT_EQ(RegistryDataFromText(L"12abc", regtype::kDword), std::nullopt);
    EXPECT_EQ(RegistryDataFromText(L"", regtype::kDword), std::nullopt);
    EXPECT_EQ(RegistryDataFromText(L"18446744073709551615", regtype::kQword),
              Data(regtype::kQword, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(RegistryDataFromText(L"18446744073709551616", regtype::kQword), std::nullopt);
}

TEST(RegistryDataFromText, ReadAndWriteAreInverse) {
    for (const auto& [text, type] :
         {std::pair<std::wstring, std::uint32_t>{L"C:\\Program Files\\x.exe", regtype::kSz},
          {L"16", regtype::kDword},
          {L"123456789012", regtype::kQword},
          {std::wstring(L"\x01\x00\xFE", 3), regtype::kBinary}}) {
        const auto data = RegistryDataFromText(text, type);
        ASSERT_TRUE(data.has_value());
        EXPECT_EQ(RegistryText(*data), text);
    }
}

} // namespace
} // namespace vantrel
