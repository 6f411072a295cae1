// Registry exports (.reg): the input is the file's bytes. A snapshot read from it must find every key and
// value it lists, and list subkeys in the registry's order.
#include "fuzz_input.h"
#include "sources/registry_names.h"
#include "sources/registry_snapshot.h"

#include <vector>

using namespace vantrel;

namespace {

void CheckKey(const RegistrySnapshot& snapshot, RegistrySnapshot::KeyId key,
              std::vector<RegistrySnapshot::KeyId>& pending) {
    std::optional<std::wstring> previous;
    for (std::uint32_t i = 0; const auto name = snapshot.SubkeyAt(key, i); ++i) {
        if (previous)
            fuzz::Require(CompareRegistryNames(*previous, *name) < 0);
        const auto child = snapshot.Find(key, *name);
        fuzz::Require(child.has_value());
        pending.push_back(*child);
        previous = name;
    }
    for (std::uint32_t i = 0; const auto value = snapshot.ValueAt(key, i); ++i)
        fuzz::Require(snapshot.Value(key, value->name) == value->data);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const auto snapshot = RegistrySnapshot::FromRegFile(input.RestBytes());
    if (!snapshot) {
        fuzz::Require(snapshot.error().line > 0);
        (void)DescribeRegFileError(snapshot.error());
        return 0;
    }
    std::vector<RegistrySnapshot::KeyId> pending;
    for (const RootKey root : {RootKey::LocalMachine, RootKey::CurrentUser, RootKey::Users})
        pending.push_back(*(*snapshot)->Root(root));
    if (const auto classes = (*snapshot)->Root(RootKey::ClassesRoot))
        fuzz::Require((*snapshot)->Find(*classes, L"").has_value());
    while (!pending.empty()) {
        const RegistrySnapshot::KeyId key = pending.back();
        pending.pop_back();
        CheckKey(**snapshot, key, pending);
    }
    return 0;
}
