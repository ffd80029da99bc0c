#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "foundation/PathFunctions.h"
#include "tests/foundation/Cp932Reference.h"

namespace {

const unsigned kSeed = 932061;
const int kCases = 3000;
// A guard of backslashes also shows a read beyond the text, should a found separator come from there.
const char kGuardByte = '\\';
const size_t kGuardBytes = 16;

std::string Hex(const std::string& text)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex = "[";
    for (unsigned char b : text) {
        hex += digits[b >> 4];
        hex += digits[b & 15];
        hex += ' ';
    }
    return hex + "]";
}

std::string Case(int index, const std::string& text, const std::string& other = std::string())
{
    return "seed " + std::to_string(kSeed) + " case " + std::to_string(index) + ": " + Hex(text) + " " + Hex(other);
}

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

std::string Bytes(unsigned unit)
{
    if (unit < 0x100)
        return std::string(1, static_cast<char>(unit));
    return {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
}

// Random code page 932 texts, weighted towards what trips a byte-wise walk: separators, colons, and double-byte
// characters whose trail byte is a backslash (or, though no valid trail, a colon).
class CTextSource {
public:
    CTextSource() : m_engine(kSeed) {}

    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_engine); }
    bool OneIn(int n) { return Between(1, n) == 1; }

    std::string Char()
    {
        switch (Between(0, 9)) {
        case 0:
            return "\\";
        case 1:
            return ":";
        case 2:
        case 3:
            return Bytes(Between(0x20, 0x7E));
        case 4:
            return Bytes(Between(0xA1, 0xDF));
        case 5: {
            const cp932::CaseRange& r = cp932::kCaseRanges[Between(0, 4)];
            unsigned letter = r.upperFirst + Between(0, r.upperLast - r.upperFirst);
            return Bytes(OneIn(2) ? cp932::SwapCase(letter) : letter);
        }
        default: {
            int lead = Between(0, 59);
            int trail = Between(0, 187);
            std::string pair = {static_cast<char>(lead < 31 ? 0x81 + lead : 0xE0 + lead - 31),
                                static_cast<char>(trail < 63 ? 0x40 + trail : 0x80 + trail - 63)};
            if (OneIn(4))
                pair[1] = '\\';
            else if (OneIn(12))
                pair[1] = ':';
            return pair;
        }
        }
    }

    std::string Text(int maxChars)
    {
        static const char* const prefixes[] = {"C:\\", "\\", "C:", "\\\\"};
        std::string text = OneIn(5) ? prefixes[Between(0, 3)] : "";
        for (int n = Between(0, maxChars); n > 0; --n)
            text += Char();
        return text;
    }

    // A text near to the given one, so that comparisons get past the first character.
    std::string Near(const std::string& text)
    {
        int kind = Between(0, 4);
        if (kind == 4)
            return Text(10);
        std::vector<cp932::Char> chars = cp932::Split(text);
        size_t at = chars.empty() ? 0 : Between(0, static_cast<int>(chars.size()) - 1);
        std::string result;
        for (size_t k = 0; k < chars.size(); ++k) {
            if (kind == 2 && k == at)
                break;
            if (kind == 1 && k == at)
                result += Char();
            else
                result += Bytes(kind == 0 && OneIn(2) ? cp932::SwapCase(chars[k].unit) : chars[k].unit);
        }
        return kind == 3 ? result + Char() : result;
    }

private:
    std::mt19937 m_engine;
};

// A text placed inside a larger block of guard bytes, so that a write into it or around it shows.
struct GuardedText {
    explicit GuardedText(const std::string& text) : bytes(text), block(Expected()) {}

    const char* Get() const { return &block[kGuardBytes]; }
    bool Intact() const { return block == Expected(); }

    std::string Expected() const
    {
        const std::string guard(kGuardBytes, kGuardByte);
        return guard + bytes + '\0' + guard;
    }

    std::string bytes;
    std::string block;
};

// Whether s holds exactly text, terminated inside a block of exactly capacity bytes.
testing::AssertionResult Holds(const CGString& s, const std::string& text, size_t capacity)
{
    if (s.Length() < 0 || s.Length() >= s.Capacity() || s.Text()[s.Length()] != '\0')
        return testing::AssertionFailure() << "length " << s.Length() << " not terminated within " << s.Capacity();
    std::string held(s.Text(), s.Length());
    if (held != text || s.Capacity() != static_cast<int>(capacity))
        return testing::AssertionFailure() << "holds " << Hex(held) << " in " << s.Capacity() << " bytes, expected "
                                           << Hex(text) << " in " << capacity;
    return testing::AssertionSuccess();
}

class Cp932Properties : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(932u, GetACP()) << "the properties are stated for code page 932"; }

    CTextSource m_source;
};

TEST_F(Cp932Properties, SearchesNeverMatchATrailByte)
{
    for (int i = 0; i < kCases; ++i) {
        const std::string text = m_source.Text(16);
        const CGString s(text.c_str());
        const int length = static_cast<int>(text.size());
        const char wanted[] = {'\\', ':', static_cast<char>(m_source.Between(1, 255)),
                               text.empty() ? 'a' : text[m_source.Between(0, length - 1)]};
        for (char ch : wanted) {
            int start = m_source.Between(-2, length + 1);
            ASSERT_EQ(cp932::FindFirst(text, ch, start), s.FindChar(ch, start))
                << Case(i, text) << " byte " << (ch & 0xFF) << " from " << start;
            ASSERT_EQ(cp932::FindLast(text, ch), s.FindLastChar(ch)) << Case(i, text) << " byte " << (ch & 0xFF);
        }
        ASSERT_TRUE(Holds(s, text, text.size() + 1)) << Case(i, text);
    }
}

bool HasDuplicatedRows(const std::string& text)
{
    for (const cp932::Char& c : cp932::Split(text))
        if (cp932::InDuplicatedRows(c.unit))
            return true;
    return false;
}

// Compares random pairs of near texts with case, and without case those pairs that hold a character of the duplicated
// rows (or, without duplicatedRows, that hold none); returns how many pairs were compared without case.
int CheckCompare(CTextSource& source, bool duplicatedRows)
{
    int folded = 0;
    for (int i = 0; i < kCases; ++i) {
        const std::string left = source.Text(10);
        const GuardedText right(source.Near(left));
        const CGString s(left.c_str());
        EXPECT_EQ(cp932::Compare(left, right.bytes, false), Sign(s.Compare(right.Get(), FALSE)))
            << Case(i, left, right.bytes);
        if ((HasDuplicatedRows(left) || HasDuplicatedRows(right.bytes)) == duplicatedRows) {
            ++folded;
            EXPECT_EQ(cp932::Compare(left, right.bytes, true), Sign(s.Compare(right.Get(), TRUE)))
                << Case(i, left, right.bytes) << " ignoring case";
        }
        EXPECT_TRUE(right.Intact()) << Case(i, left, right.bytes);
        if (testing::Test::HasFailure())
            break;
    }
    return folded;
}

TEST_F(Cp932Properties, CompareOrdersByCharacterUnits)
{
    const int folded = CheckCompare(m_source, false);
    if (!HasFailure()) {
        EXPECT_GT(folded, kCases / 3) << "too few pairs left to compare without case";
    }
}

TEST_F(Cp932Properties, CompareIgnoringCaseKeepsDuplicateCodesInPlace)
{
    CheckCompare(m_source, true);
}

TEST_F(Cp932Properties, HeadAndSubCutBytesIntoExactFitStrings)
{
    for (int i = 0; i < kCases; ++i) {
        const std::string text = m_source.Text(16);
        const int length = static_cast<int>(text.size());
        const int capacity = length + 1 + m_source.Between(0, 8);
        const CGString s(text.c_str(), capacity);

        const int count = m_source.Between(0, length + 2);
        const std::string head = text.substr(0, count);
        ASSERT_TRUE(Holds(s.Head(count), head, head.size() + 1)) << Case(i, text) << " Head " << count;

        const int start = m_source.Between(0, length + 2);
        const int n = m_source.Between(-1, length + 2);
        const std::string sub = start >= length ? "" : text.substr(start, n < 0 ? std::string::npos : n);
        ASSERT_TRUE(Holds(s.Sub(start, n), sub, sub.size() + 1)) << Case(i, text) << " Sub " << start << ", " << n;
        ASSERT_TRUE(Holds(s, text, capacity)) << Case(i, text);
    }
}

TEST_F(Cp932Properties, EditsKeepTheTextAndGrowExactly)
{
    const int kSteps = 8;
    for (int i = 0; i < kCases / kSteps; ++i) {
        std::string text = m_source.Text(6);
        size_t capacity = text.size() + 1 + m_source.Between(0, 4);
        CGString s(text.c_str(), static_cast<int>(capacity));
        std::string log = Case(i, text);
        for (int step = 0; step < kSteps; ++step) {
            const std::string arg = m_source.Text(6);
            const int op = m_source.Between(0, 8);
            const int k = m_source.Between(0, static_cast<int>(text.size()));
            const char ch = static_cast<char>(m_source.Between(1, 255));
            const int bytes = m_source.Between(0, static_cast<int>(capacity) + 8);
            log += " op " + std::to_string(op) + " k " + std::to_string(k) + " byte " + Hex(std::string(1, ch)) +
                   " bytes " + std::to_string(bytes) + " " + Hex(arg);
            switch (op) {
            case 0:
                s.Assign(arg.c_str());
                text = arg;
                break;
            case 1:
                s.Assign(CGString(arg.c_str()));
                text = arg;
                break;
            case 2:
                s.Append(arg.c_str());
                text += arg;
                break;
            case 3:
                s.AppendChar(ch);
                text += ch;
                break;
            case 4:
                s.Clear();
                text.clear();
                break;
            case 5:
                s.Reserve(bytes);
                capacity = std::max(capacity, static_cast<size_t>(bytes));
                break;
            case 6:
                // The appended tail lies in the block that the append may move.
                s.Append(s.Text() + k);
                text += text.substr(k);
                break;
            case 7:
                s.Assign(s.Text() + k);
                text = text.substr(k);
                break;
            case 8:
                memcpy(s.Buffer(static_cast<int>(arg.size()) + 1), arg.c_str(), arg.size() + 1);
                ASSERT_EQ(static_cast<int>(arg.size()), s.SyncLength()) << log;
                text = arg;
                break;
            }
            capacity = std::max(capacity, text.size() + 1);
            ASSERT_TRUE(Holds(s, text, capacity)) << log;
        }
        const std::string right = m_source.Text(6);
        ASSERT_TRUE(Holds(CGString(s), text, text.size() + 1)) << log;
        ASSERT_TRUE(Holds(CGString::Concat(s, right.c_str()), text + right, text.size() + right.size() + 1))
            << log << " Concat " << Hex(right);
    }
}

TEST_F(Cp932Properties, PathFunctionsSplitOnlyAtSeparators)
{
    for (int i = 0; i < kCases; ++i) {
        const GuardedText path(m_source.Text(10));
        const GuardedText name(m_source.Text(4));
        const std::string trace = Case(i, path.bytes, name.bytes);
        ASSERT_EQ(cp932::IsRootPath(path.bytes), IsRootPath(path.Get()) != FALSE) << "IsRootPath " << trace;
        const struct {
            const char* function;
            CGString result;
            std::string expected;
        } results[] = {
            {"WithTrailingSeparator", WithTrailingSeparator(path.Get()), cp932::WithTrailingSeparator(path.bytes)},
            {"WithoutTrailingSeparator", WithoutTrailingSeparator(path.Get()),
             cp932::WithoutTrailingSeparator(path.bytes)},
            {"FileNamePart", FileNamePart(path.Get()), cp932::FileNamePart(path.bytes)},
            {"DirectoryPart", DirectoryPart(path.Get()), cp932::DirectoryPart(path.bytes)},
            {"JoinPath", JoinPath(path.Get(), name.Get()), cp932::JoinPath(path.bytes, name.bytes)},
        };
        for (const auto& r : results)
            ASSERT_TRUE(Holds(r.result, r.expected, r.expected.size() + 1)) << r.function << " " << trace;
        ASSERT_TRUE(path.Intact() && name.Intact()) << trace;
    }
}

} // namespace
