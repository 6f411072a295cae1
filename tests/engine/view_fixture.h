#pragma once
// A view over an in-memory registry with scripted services, and ways to read what it filled.
#include "engine/scripted_host.h"
#include "support/memory_registry.h"
#include "views/catalogue.h"

#include <gtest/gtest.h>

#include <memory>

namespace vantrel::test {

class ViewTest : public ::testing::Test, protected FakeViewServices {
protected:
    ViewTest() {
        memory.SetString(L"", RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                         L"CurrentVersion", L"6.1");
        memory.SetString(L"", RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                         L"CSDVersion", L"Service Pack 1");
        environment.variables[L"windir"] = L"C:\\windows";
    }

    // A new view of that definition (or catalogue number), not yet filled.
    View& NewView(std::wstring definition, ViewKind kind = ViewKind::Registry) {
        view = std::make_unique<View>(ForViews(), host, 15);
        view->definition =
            definition.size() < 3 && !definition.empty() ? ResolveBuiltInView(definition) : definition;
        view->viewKind = kind;
        return *view;
    }
    View& Fill(std::wstring definition, ViewKind kind = ViewKind::Registry) {
        View& v = NewView(std::move(definition), kind);
        v.fillflex();
        return v;
    }

    // The data rows of the grid, without the row-number column.
    std::vector<std::vector<std::wstring>> Rows() const {
        std::vector<std::vector<std::wstring>> rows;
        for (int r = 1; r < view->grid.Rows(); ++r) {
            std::vector<std::wstring> row;
            for (int c = 1; c < view->grid.Cols(); ++c)
                row.push_back(view->grid.TextMatrix(r, c));
            rows.push_back(std::move(row));
        }
        return rows;
    }
    std::vector<std::wstring> Headers() const {
        std::vector<std::wstring> headers;
        for (int c = 1; c < view->grid.Cols(); ++c)
            headers.push_back(view->grid.TextMatrix(0, c));
        return headers;
    }
    std::vector<std::wstring> Column(int c) const {
        std::vector<std::wstring> values;
        for (int r = 1; r < view->grid.Rows(); ++r)
            values.push_back(view->grid.TextMatrix(r, c));
        return values;
    }

    ScriptedHost host;
    std::unique_ptr<View> view;
};

using Table = std::vector<std::vector<std::wstring>>;
using Texts = std::vector<std::wstring>;

} // namespace vantrel::test
