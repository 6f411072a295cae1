#pragma once
// The registry layer: every registry access of the program goes through it. It reads values as display text
// (or a marker), enumerates keys with wildcard levels, writes values, and changes or deletes a value only
// when it still holds what the user saw. Computers other than the local one are reached by name.
#include "sources/registry_api.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// ChangeValue's status when the value no longer holds the expected text.
inline constexpr long kValueChangedMeanwhile = 33;

struct ValueText {
    std::wstring name;
    std::wstring text;
    std::uint32_t type = regtype::kNone;
};

class Registry {
public:
    explicit Registry(RegistryApi& api);
    ~Registry();

    // While one lives, ReadValue reuses one connection per computer and keeps the keys of the current item
    // open, so a fill does not pay a connection per cell and an open per value. Texts and markers stay those
    // of separate reads: a key deleted meanwhile still reads "¬", a lost computer still "°".
    // The cache belongs to the thread that made the CachedReads: only that thread's reads use it, and the
    // CachedReads must end on that thread.
    class CachedReads {
    public:
        explicit CachedReads(Registry& registry);
        ~CachedReads();
        CachedReads(const CachedReads&) = delete;
        CachedReads& operator=(const CachedReads&) = delete;
        void NextItem(); // closes the keys kept for the last item

    private:
        Registry& registry_;
    };

    // The text of value `expression` read under `key` of `computer` (empty = local), or a marker: "°" the
    // computer cannot be connected, "¬" the key cannot be opened, "?" the value cannot be read.
    // The expression may name subkeys ("InstallProperties\DisplayName", "LocalServer32\" for a default
    // value), "@" for the default value, "*()n" for the name of subkey n, or start with "\" to name an
    // absolute key. The key and the expression may each name a computer between two "/".
    std::wstring ReadValue(std::wstring_view computer, RootKey root, std::wstring_view key,
                           std::wstring_view expression);

    // The subkeys of every key the path matches, a "\*" level matching every subkey, named relative to the
    // fixed part before the first "\*". With wildcards off only the fixed part is listed. Empty when the
    // computer or the key cannot be reached. Another computer's keys may be listed by `inFlight` threads side
    // by side, each call a round trip of its own; the names and their order stay the same.
    // `keepListing`, when given, is asked on the calling thread every few hundred names: false ends the
    // listing with the names found so far (a fill lets window messages run there, for Esc and the window).
    std::vector<std::wstring> EnumKeys(std::wstring_view computer, RootKey root, std::wstring_view path,
                                       bool wildcards, int inFlight = 1,
                                       const std::function<bool()>& keepListing = {});

    // Names, texts and types of the values of a key; empty when the computer or the key cannot be reached.
    std::vector<ValueText> EnumValues(std::wstring_view computer, RootKey root, std::wstring_view path);

    // Creates the key if needed and writes the value (local registry); answers the Windows error code.
    long WriteValue(RootKey root, std::wstring_view path, std::wstring_view name, std::wstring_view text,
                    std::uint32_t type);

    // Writes `newText` into the value, or deletes the value when `newText` is empty, provided the value's
    // current text is still `expectedText` (a missing value counts as an empty string). Answers 0 when done,
    // kValueChangedMeanwhile when the value holds something else, or a Windows error code: 3 when the
    // computer cannot be connected, kInvalidDatatype for a type that cannot be written from text,
    // kInvalidData for a number text that does not fit the value's type.
    long ChangeValue(std::wstring_view computer, RootKey root, std::wstring_view path,
                     std::wstring_view expression, std::wstring_view expectedText, std::wstring_view newText);

private:
    struct Target;
    struct ReadCache;
    class ThreadCaches;
    // A root to open keys under: the local predefined one, or another computer's, closed with this object.
    struct ConnectedRoot {
        RegHandle handle = 0;
        OwnedRegKey connection;
    };
    std::expected<ConnectedRoot, long> ConnectRoot(std::wstring_view computer, RootKey root);
    std::wstring ReadUncached(const Target& target);
    std::optional<std::wstring> ReadCached(ReadCache& cache, const Target& target);
    class ListingChecks;
    std::vector<std::wstring> EnumUnder(RegHandle parent, std::wstring_view path, bool wildcards,
                                        int inFlight, ListingChecks& checks);
    // The names of an open key's subkeys in index order, up to the first index that cannot be read or the
    // check that ended the listing.
    std::vector<std::wstring> SubkeyNames(RegHandle key, int inFlight, ListingChecks& checks);

    RegistryApi& api_;
    std::unique_ptr<ThreadCaches> caches_;
};

} // namespace vantrel
