// Installer package tokens and the values of driver information files, over an in-memory ini reader.
#include "engine/scripted_host.h"
#include "sources/file_properties.h"

#include <gtest/gtest.h>

namespace vantrel::test {
namespace {

TEST(MsiPropertyFor, SummaryNamesByTheirFieldAndEverythingElseFromThePropertyTable) {
    const struct {
        std::wstring_view token;
        MsiPropertyName expected;
    } cases[] = {
        {L"Codepage", {1, {}}},
        {L"TITLE", {2, {}}},
        {L"subject", {3, {}}},
        {L"author", {4, {}}},
        {L"LastAuthor", {8, {}}},
        {L"Printed", {11, {}}},
        {L"Characters", {16, {}}},
        {L"application", {18, {}}},
        {L"Security", {19, {}}},
        {L"page", {1, {}}},  // part of Codepage
        {L",Sec", {19, {}}}, // starts on the comma closing field 18
        {L"name", {0, L"ProductName"}},
        {L"Version", {0, L"ProductVersion"}},
        {L"Manufacturer", {0, L"Manufacturer"}},
        {L"ProductCode", {0, L"ProductCode"}},
    };
    for (const auto& [token, expected] : cases)
        EXPECT_EQ(MsiPropertyFor(token), expected) << std::wstring(token);
}

class InfPropertyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ini.files[std::wstring(kInf)] = {
            {L"Version", {L"Class=%DiskClass%", L"Provider=\"Vantrel Drivers\"", L"Signature=$Windows NT$"}},
            {L"Manufacturer", {L"%Acme%=Acme,NTamd64", L"Other=Other"}},
            {L"Strings", {L"DiskClass=Disk drives", L"Acme=\"Acme Devices\""}},
        };
    }
    static constexpr std::wstring_view kInf = L"C:\\drivers\\disk.inf";
    FakeIniFiles ini;
};

TEST_F(InfPropertyTest, TitleSubjectAndAuthorAreCleaned) {
    EXPECT_EQ(InfProperty(ini, kInf, L"Title"), L"Acme Devices");
    EXPECT_EQ(InfProperty(ini, kInf, L"subject"), L"Disk drives");
    EXPECT_EQ(InfProperty(ini, kInf, L"AUTHOR"), L"Vantrel Drivers");
    EXPECT_EQ(InfProperty(ini, kInf, L"version"), L"");
}

TEST_F(InfPropertyTest, MissingSectionsAndStringsGiveEmptyTexts) {
    ini.files[std::wstring(kInf)] = {{L"Version", {L"Class=%Missing%", L"Provider=Plain=Text"}}};
    EXPECT_EQ(InfProperty(ini, kInf, L"title"), L"");
    EXPECT_EQ(InfProperty(ini, kInf, L"subject"), L"");
    EXPECT_EQ(InfProperty(ini, kInf, L"author"), L"Plain");
}

} // namespace
} // namespace vantrel::test
