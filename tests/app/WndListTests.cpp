#include <gtest/gtest.h>

#include <vector>

#include "conversion/WndList.h"

namespace {

HWND Handle(UINT_PTR value)
{
    return reinterpret_cast<HWND>(value);
}

std::vector<HWND> Chain(const CWndList& list, int bucket)
{
    std::vector<HWND> handles;
    for (CWndEntry* entry = list.GetBucketHead(bucket); entry != NULL; entry = list.GetNextEntry(entry))
        handles.push_back(entry->m_hWnd);
    return handles;
}

TEST(WndList, TopEntriesShareABucketByTheLowByteNewestFirst)
{
    CWndList list;
    ASSERT_NE(list.AddTopEntry(CWndEntry(Handle(0x1234), "")), nullptr);
    ASSERT_NE(list.AddTopEntry(CWndEntry(Handle(0x5634), "")), nullptr);
    ASSERT_NE(list.AddTopEntry(CWndEntry(Handle(0x1235), "")), nullptr);

    EXPECT_EQ(Chain(list, 0x34), (std::vector<HWND>{Handle(0x5634), Handle(0x1234)}));
    EXPECT_EQ(Chain(list, 0x35), (std::vector<HWND>{Handle(0x1235)}));
    EXPECT_EQ(list.FindTopEntry(Handle(0x1234))->m_hWnd, Handle(0x1234));
    EXPECT_EQ(list.FindTopEntry(Handle(0x9934)), nullptr);
}

// A template taken from a live entry carries that entry's links and counts.
TEST(WndList, NewEntryCopiesTheTemplatesTextAndStartsUnlinked)
{
    CWndList list;
    CWndEntry other(Handle(0x20), "");
    CWndEntry entryTemplate(Handle(0x10), "remembered");
    entryTemplate.m_pChildLink = entryTemplate.m_pPrev = entryTemplate.m_pNext = &other;
    entryTemplate.m_nChildren = 3;
    CWndEntry* entry = list.AddTopEntry(entryTemplate);
    ASSERT_NE(entry, nullptr);
    EXPECT_STREQ(entry->m_text.Text(), "remembered");
    EXPECT_EQ(entry->m_pChildLink, nullptr);
    EXPECT_EQ(entry->m_pPrev, nullptr);
    EXPECT_EQ(entry->m_pNext, nullptr);
    EXPECT_EQ(entry->m_nChildren, 0);
}

TEST(WndList, RemovingAnyEntryOfAChainKeepsTheOthersLinked)
{
    for (UINT_PTR removed : {0x100, 0x200, 0x300}) {
        CWndList list;
        for (UINT_PTR value : {0x100, 0x200, 0x300})
            list.AddTopEntry(CWndEntry(Handle(value), ""));
        list.RemoveTopEntry(list.FindTopEntry(Handle(removed)));

        std::vector<HWND> expected;
        for (UINT_PTR value : {0x300, 0x200, 0x100}) {
            if (value != removed)
                expected.push_back(Handle(value));
        }
        EXPECT_EQ(Chain(list, 0), expected) << "removed " << removed;
        for (CWndEntry* entry = list.GetBucketHead(0); entry->m_pNext != NULL; entry = entry->m_pNext)
            EXPECT_EQ(entry->m_pNext->m_pPrev, entry);
        EXPECT_EQ(list.GetBucketHead(0)->m_pPrev, nullptr);
    }
}

TEST(WndList, ChildEntriesBelongToTheirTopEntry)
{
    CWndList list;
    CWndEntry* first = list.AddTopEntry(CWndEntry(Handle(0x100), ""));
    CWndEntry* second = list.AddTopEntry(CWndEntry(Handle(0x200), ""));
    CWndEntry* child = list.AddChildEntry(first, CWndEntry(Handle(0x111), "text"));
    list.AddChildEntry(first, CWndEntry(Handle(0x112), ""));

    EXPECT_EQ(list.FindChildEntry(first, Handle(0x111)), child);
    EXPECT_STREQ(child->m_text.Text(), "text");
    EXPECT_EQ(list.FindChildEntry(second, Handle(0x111)), nullptr);
    EXPECT_EQ(first->m_pChildLink->m_hWnd, Handle(0x112)) << "newest child first";

    list.RemoveTopEntry(first);
    EXPECT_EQ(list.FindTopEntry(Handle(0x100)), nullptr);
    EXPECT_EQ(list.FindTopEntry(Handle(0x200)), second);
}

// Many windows share control handles' low bits and even whole handles (reused
// after a window closed): each lookup must still land on its own top entry.
TEST(WndList, ChildLookupsStayWithTheirTopEntryAcrossManyWindows)
{
    CWndList list;
    const int kTops = 40, kChildren = 300;
    std::vector<CWndEntry*> tops;
    std::vector<std::vector<CWndEntry*>> children(kTops);
    for (int t = 0; t < kTops; ++t) {
        tops.push_back(list.AddTopEntry(CWndEntry(Handle(0x10000 + t * 4), "")));
        for (int c = 0; c < kChildren; ++c)
            children[t].push_back(list.AddChildEntry(tops[t], CWndEntry(Handle(0x20000 + c * 4), "")));
    }
    for (int t = 0; t < kTops; t += 2)
        list.RemoveTopEntry(tops[t]);
    for (int t = 1; t < kTops; t += 2) {
        for (int c = 0; c < kChildren; ++c)
            ASSERT_EQ(list.FindChildEntry(tops[t], Handle(0x20000 + c * 4)), children[t][c]) << t << " " << c;
    }
    CWndEntry* reused = list.AddTopEntry(CWndEntry(Handle(0x10000), ""));
    EXPECT_EQ(list.FindChildEntry(reused, Handle(0x20000)), nullptr) << "a removed window's controls are forgotten";

    CWndEntry* older = list.FindChildEntry(tops[1], Handle(0x20000));
    CWndEntry* newer = list.AddChildEntry(tops[1], CWndEntry(Handle(0x20000), ""));
    EXPECT_NE(newer, older);
    EXPECT_EQ(list.FindChildEntry(tops[1], Handle(0x20000)), newer) << "the entry nearest the front of the list wins";
}

TEST(WndList, RemoveAllEmptiesEveryBucket)
{
    CWndList list;
    for (UINT_PTR value = 1; value < 600; value += 7) {
        CWndEntry* top = list.AddTopEntry(CWndEntry(Handle(value), ""));
        list.AddChildEntry(top, CWndEntry(Handle(value + 1), ""));
    }
    list.RemoveAll();
    for (int bucket = 0; bucket < 256; ++bucket)
        EXPECT_EQ(list.GetBucketHead(bucket), nullptr);
}

TEST(WndList, RemovingChildEntriesKeepsTheOthersFoundAndCounted)
{
    CWndList list;
    CWndEntry* top = list.AddTopEntry(CWndEntry(Handle(0x10), ""));
    for (UINT_PTR value = 1; value <= 6; ++value)
        list.AddChildEntry(top, CWndEntry(Handle(value), ""));
    auto isEven = [](const CWndEntry* child, void*) -> BOOL {
        return (reinterpret_cast<UINT_PTR>(child->m_hWnd) & 1) == 0;
    };
    EXPECT_EQ(list.RemoveChildEntries(top, isEven, nullptr), 3);
    EXPECT_EQ(top->m_nChildren, 3);
    for (UINT_PTR value = 1; value <= 6; ++value)
        EXPECT_EQ(list.FindChildEntry(top, Handle(value)) != nullptr, (value & 1) == 1) << value;
    std::vector<HWND> left;
    for (CWndEntry* child = top->m_pChildLink; child != NULL; child = child->m_pChildLink)
        left.push_back(child->m_hWnd);
    EXPECT_EQ(left, (std::vector<HWND>{Handle(5), Handle(3), Handle(1)}));
}

} // namespace
