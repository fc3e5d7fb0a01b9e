// Any registry text, however odd, cleans to a folder text that ends in "\" and
// holds no quote, and cleaning never reads past the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include "ternavo/rules/icq7search.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    int index = data[0] % icq7::kCandidateCount;
    std::wstring raw;
    for (size_t i = 1; i + 1 < size; i += 2) raw += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    std::wstring out = icq7::CleanCandidate(raw, index, [](const std::wstring& p) { return p; });
    if (out.empty() || out.back() != L'\\') abort();
    if (out.find(L'"') != std::wstring::npos) abort();
    if (out.size() > raw.size() + 2) abort();
    return 0;
}
