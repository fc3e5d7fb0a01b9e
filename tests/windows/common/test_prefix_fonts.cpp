// The test prefixes carry Wine's own fonts: the faces the windows ask for are the faces
// GDI gives. Without them GDI falls back to whatever the host has (DejaVu Sans, Liberation
// Sans), and every layout measurement and picture depends on the machine.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>

namespace {

struct Given {
    std::wstring face;
    TEXTMETRICW metrics{};
};

Given FontGivenFor(const wchar_t* face, BYTE charset, int height = -11) {
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
    HGDIOBJ old = SelectObject(dc, font);
    Given given;
    wchar_t name[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, name);
    given.face = name;
    GetTextMetricsW(dc, &given.metrics);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return given;
}

std::wstring FaceGivenFor(const wchar_t* face, BYTE charset) { return FontGivenFor(face, charset).face; }

}  // namespace

TEST(PrefixFonts, TheDesignFontsAreWinesOwnNotTheHostsFallback) {
    EXPECT_EQ(FaceGivenFor(L"MS Sans Serif", DEFAULT_CHARSET), L"MS Sans Serif");
    EXPECT_EQ(FaceGivenFor(L"Tahoma", DEFAULT_CHARSET), L"Tahoma");
    // Caption buttons are drawn with Marlett's symbols; a fallback shows letters instead.
    EXPECT_EQ(FaceGivenFor(L"Marlett", SYMBOL_CHARSET), L"Marlett");
    // Away from 96 dpi the windows ask for "Microsoft Sans Serif"; the prefix gives Wine's
    // MS Sans Serif for it (GDI names a substitute by the name asked for, so compare metrics).
    Given twin = FontGivenFor(L"Microsoft Sans Serif", DEFAULT_CHARSET, -16);
    Given original = FontGivenFor(L"MS Sans Serif", DEFAULT_CHARSET, -16);
    EXPECT_EQ(twin.metrics.tmAveCharWidth, original.metrics.tmAveCharWidth);
    EXPECT_EQ(twin.metrics.tmHeight, original.metrics.tmHeight);
    EXPECT_EQ(twin.metrics.tmPitchAndFamily, original.metrics.tmPitchAndFamily);
}
