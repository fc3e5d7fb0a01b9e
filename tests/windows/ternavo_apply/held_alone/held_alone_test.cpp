// The held folder keeps a link out by two looks, and each must hold alone:
// this test is built twice, each time with one of them put out of the way by
// another linked in its place (no_walk.cpp, no_final_path.cpp). What is left
// must still refuse a folder reached through a link, and hold a plain one.
#include <gtest/gtest.h>
#include "ternavo/steps/held_folder.h"
#include "tests/windows/ternavo_apply/unix_link.h"

TEST(HeldFolderAlone, AFolderReachedThroughALinkIsRefusedByTheLookThatIsLeft) {
    const std::wstring real = wt::NewDir(L"held-real");
    wt::EnsureDir(real + L"ICQ 7");
    const std::wstring linked = wt::NewDir(L"held-linked");
    RemoveDirectoryW(linked.c_str());
    ASSERT_TRUE(wt::MakeUnixLink(real.substr(0, real.size() - 1), linked.substr(0, linked.size() - 1)));

    HeldFolder plain(real + L"ICQ 7");
    EXPECT_TRUE(plain.Held());
    EXPECT_FALSE(plain.Linked());
    // The link is a parent folder on the way, then the folder itself.
    for (const std::wstring& dir : {linked + L"ICQ 7", linked.substr(0, linked.size() - 1)}) {
        HeldFolder through(dir);
        EXPECT_FALSE(through.Held()) << dir;
        EXPECT_TRUE(through.Linked()) << dir;
    }
}
