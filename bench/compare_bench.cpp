// A compare view of one data row with 20 columns over 50 computers, served by an in-memory registry that
// answers as a network would: each connection costs 20 ms, each remote open or read 1 ms. Prints the fill
// time and the connections the fill opened (one per computer is the aim).
#include "engine/view.h"
#include "headless_host.h"
#include "support/memory_registry.h"

#include <windows.h>

#include <cstdio>

namespace {

using namespace bench;
using vantrel::RegHandle;
using vantrel::RootKey;

constexpr int kComputers = 50;
constexpr int kColumns = 20;
constexpr DWORD kConnectMs = 20;
constexpr DWORD kRemoteCallMs = 1;
const std::wstring kItem = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Acme";

// The in-memory registry behind the delays of a network.
class NetworkRegistry final : public vantrel::RegistryApi {
public:
    explicit NetworkRegistry(vantrel::test::MemoryRegistry& memory) : memory_(memory) {}
    RegHandle Root(RootKey root) override { return memory_.Root(root); }
    std::expected<RegHandle, long> Connect(std::wstring_view computer, RootKey root) override {
        Sleep(kConnectMs);
        return memory_.Connect(computer, root);
    }
    std::expected<RegHandle, long> Open(RegHandle parent, std::wstring_view subkey,
                                        vantrel::KeyAccess access) override {
        Sleep(kRemoteCallMs);
        return memory_.Open(parent, subkey, access);
    }
    std::expected<RegHandle, long> Create(RegHandle parent, std::wstring_view subkey) override {
        return memory_.Create(parent, subkey);
    }
    std::expected<vantrel::RegistryData, long> QueryValue(RegHandle key, std::wstring_view name) override {
        Sleep(kRemoteCallMs);
        return memory_.QueryValue(key, name);
    }
    std::expected<std::wstring, long> EnumKey(RegHandle key, std::uint32_t index) override {
        return memory_.EnumKey(key, index);
    }
    std::expected<vantrel::RegistryValue, long> EnumValue(RegHandle key, std::uint32_t index) override {
        return memory_.EnumValue(key, index);
    }
    long SetValue(RegHandle key, std::wstring_view name, const vantrel::RegistryData& data) override {
        return memory_.SetValue(key, name, data);
    }
    long DeleteValue(RegHandle key, std::wstring_view name) override {
        return memory_.DeleteValue(key, name);
    }
    void Close(RegHandle key) override { memory_.Close(key); }

private:
    vantrel::test::MemoryRegistry& memory_;
};

std::wstring ValueName(int v) {
    return L"Value" + std::to_wstring(v);
}

} // namespace

int main() {
    vantrel::test::MemoryRegistry memory;
    std::vector<std::wstring> computers;
    for (int c = 0; c < kComputers; ++c) {
        computers.push_back(L"PC" + std::to_wstring(c));
        for (int v = 0; v < kColumns; ++v)
            memory.SetString(computers.back(), RootKey::LocalMachine, kItem, ValueName(v), L"x");
    }
    NetworkRegistry network(memory);
    BenchServices services;
    vantrel::Registry registry(network);
    vantrel::ViewServices viewServices = services.ForViews();
    vantrel::ViewServices withNetwork{registry,
                                      viewServices.files,
                                      viewServices.computers,
                                      viewServices.environment,
                                      viewServices.matchList,
                                      viewServices.ini};
    services.matchList.Replace({L"preloaded"});

    const HWND window = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    HeadlessHost host;
    vantrel::View view(withNetwork, host, 15);
    view.definition = L"X,0123456789abcdefghijk,0123456789abcdefghijk,Compare,|100,<key>,Computer";
    for (int v = 0; v < kColumns; ++v)
        view.definition += L"|100," + ValueName(v) + L"," + ValueName(v);
    view.NewCompuRows(L"HKLM\\" + kItem, computers);

    memory.ResetCounters();
    const auto start = Clock::now();
    view.fillflex();
    const double fill = Seconds(start);

    std::printf("compare_rows: %d\n", view.rowCount);
    std::printf("compare_fill_time: %.2f s\n", fill);
    std::printf("compare_connections: %zu\n", memory.ConnectCount());
    DestroyWindow(window);
    return view.rowCount == kComputers && view.grid.TextMatrix(1, kColumns + 1) == L"x" ? 0 : 1;
}
