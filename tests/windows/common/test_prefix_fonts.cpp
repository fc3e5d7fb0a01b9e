// The test prefixes carry Wine's own fonts: the faces the windows ask for are the faces
// GDI gives. Without them GDI falls back to whatever the host has (DejaVu Sans, Liberation
// Sans), and every layout measurement and picture depends on the machine.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>

namespace {

std::wstring FaceGivenFor(const wchar_t* face, BYTE charset) {
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t given[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, given);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return given;
}

}  // namespace

TEST(PrefixFonts, TheDesignFontsAreWinesOwnNotTheHostsFallback) {
    EXPECT_EQ(FaceGivenFor(L"MS Sans Serif", DEFAULT_CHARSET), L"MS Sans Serif");
    EXPECT_EQ(FaceGivenFor(L"Tahoma", DEFAULT_CHARSET), L"Tahoma");
    // Caption buttons are drawn with Marlett's symbols; a fallback shows letters instead.
    EXPECT_EQ(FaceGivenFor(L"Marlett", SYMBOL_CHARSET), L"Marlett");
}
