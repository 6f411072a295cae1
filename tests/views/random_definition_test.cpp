// Definition texts as users and files may hand them to us: random mixtures of the language's own separators,
// quotes, blanks, NULs and text in any script. Parsing must never fail, and writing what was parsed must be
// a fixed point: parsing and writing it again gives the same text.
#include "views/definition.h"

#include <gtest/gtest.h>

#include <random>

namespace vantrel {
namespace {

constexpr int kTpp = kTwipsPerPixelAt96Dpi;

class RandomText {
public:
    explicit RandomText(unsigned seed) : engine_(seed) {}

    std::wstring Piece(size_t maxLength) {
        static const std::wstring kAlphabet = std::wstring(L"ab09,,,||\"\"  =*%!?\\<>()~^+.-", 28) +
                                              std::wstring(1, L'\0') +
                                              L"\x00e4\x00df\x0436\x4e2d\xd834\xdd1e\x00b0\x00ac\t";
        std::uniform_int_distribution<size_t> length(0, maxLength);
        std::uniform_int_distribution<size_t> pick(0, kAlphabet.size() - 1);
        std::wstring text(length(engine_), L' ');
        for (wchar_t& c : text)
            c = kAlphabet[pick(engine_)];
        return text;
    }

    int Number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }

private:
    std::mt19937 engine_;
};

TEST(RandomDefinitions, ParsingNeverFailsAndWritingIsAFixedPoint) {
    RandomText random(20261208);
    for (int round = 0; round < 3000; ++round) {
        std::wstring text = random.Piece(40);
        const int segments = random.Number(0, round % 50 == 0 ? 300 : 12);
        for (int s = 0; s < segments; ++s)
            text += L"|" + random.Piece(24);

        const ViewDefinition first = ParseDefinition(text, kTpp);
        const std::wstring written = MakCGp(first, kTpp);
        const ViewDefinition second = ParseDefinition(written, kTpp);
        ASSERT_EQ(MakCGp(second, kTpp), written) << "round " << round;
    }
}

TEST(RandomDefinitions, WellFormedDefinitionsSurviveWriteAndParse) {
    RandomText random(7);
    const auto plain = [&](size_t maxLength) {
        std::wstring piece = random.Piece(maxLength);
        std::erase_if(piece, [](wchar_t c) { return c == L',' || c == L'|' || c == L'"'; });
        const size_t first = piece.find_first_not_of(L' ');
        return first == std::wstring::npos ? std::wstring()
                                           : piece.substr(first, piece.find_last_not_of(L' ') - first + 1);
    };
    for (int round = 0; round < 500; ++round) {
        ViewDefinition view;
        view.head = {L"K" + plain(20), plain(6), plain(6), plain(20)};
        const int columns = random.Number(1, round % 25 == 0 ? 241 : 20);
        for (int i = 0; i < columns; ++i)
            view.column(i) = {random.Number(1, 900) * kTpp, L"d" + plain(12), plain(12), plain(8), plain(8)};
        const ViewDefinition parsed = ParseDefinition(MakCGp(view, kTpp), kTpp);
        ASSERT_EQ(parsed, view) << "round " << round;
    }
}

} // namespace
} // namespace vantrel
