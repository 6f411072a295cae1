// A whole view as text, CSV and JSON.
#include "engine/table_export.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

GridModel Table(const std::vector<std::vector<std::wstring>>& rows) {
    GridModel grid;
    grid.SetRows(static_cast<int>(rows.size()));
    grid.SetCols(static_cast<int>(rows[0].size()));
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            grid.SetTextMatrix(static_cast<int>(r), static_cast<int>(c), rows[r][c]);
    return grid;
}

TEST(TableExport, FormatsFollowTheFileName) {
    EXPECT_EQ(ExportFormatOf(L"C:\\out\\Apps.CSV"), ExportFormat::Csv);
    EXPECT_EQ(ExportFormatOf(L"apps.json"), ExportFormat::Json);
    EXPECT_EQ(ExportFormatOf(L"apps.tsv"), ExportFormat::Text);
    EXPECT_EQ(ExportFormatOf(L"-"), ExportFormat::Text);
}

TEST(TableExport, EachFormatCarriesEveryCellExactly) {
    GridModel grid = Table({{L"#", L"Name", L""},
                            {L"1", L"Acme, \"Pro\"", L"line\r\nbreak"},
                            {L"2", L"Caf\u00e9", std::wstring(L"a\0b", 3)}});
    grid.SetRow(2); // a selection of its own does not narrow the export
    grid.SetCol(1);
    const ExportedView view{grid, L"Installed \"apps\"", L"PC7"};

    EXPECT_EQ(ExportText(view, ExportFormat::Text),
              "#\tName\t\r\n1\tAcme, \"Pro\"\tline\r\nbreak\r\n2\tCaf\xC3\xA9\ta b\r\n");
    EXPECT_EQ(ExportText(view, ExportFormat::Csv), "\xEF\xBB\xBF#,Name,\r\n"
                                                   "1,\"Acme, \"\"Pro\"\"\",\"line\r\nbreak\"\r\n"
                                                   "2,Caf\xC3\xA9,a b\r\n");
    EXPECT_EQ(ExportText(view, ExportFormat::Json),
              "{\"caption\": \"Installed \\\"apps\\\"\",\n \"computer\": \"PC7\",\n"
              " \"headers\": [\"#\", \"Name\", \"\"],\n \"rows\": [\n"
              "  [\"1\", \"Acme, \\\"Pro\\\"\", \"line\\r\\nbreak\"],\n"
              "  [\"2\", \"Caf\xC3\xA9\", \"a b\"]]}\n");
}

TEST(TableExport, AnEmptyViewIsStillWellFormed) {
    const GridModel grid = Table({{L"#", L"Key"}});
    const ExportedView view{grid, L"", L""};
    EXPECT_EQ(ExportText(view, ExportFormat::Json),
              "{\"caption\": \"\",\n \"computer\": \"\",\n \"headers\": [\"#\", \"Key\"],\n \"rows\": []}\n");
    EXPECT_EQ(ExportText(view, ExportFormat::Csv), "\xEF\xBB\xBF#,Key\r\n");
}

} // namespace
} // namespace vantrel
