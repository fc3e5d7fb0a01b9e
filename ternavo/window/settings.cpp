#include "ternavo/window/settings.h"
#include "common/ini_file.h"
#include "ternavo/rules/startup.h"

namespace {
const wchar_t kSection[] = L"Ternavo";
}  // namespace

// "ICQPro" belongs to ICQ Lite's box and "ICQLite" to ICQ Pro's: files
// written by earlier versions rely on this pairing.

apply::Choices LoadChoices(const IniSection& stored) {
    auto read = [&](const wchar_t* key) { return stored.Value(key); };
    apply::Choices c;
    c.icq7Folder = read(L"ICQ7Path");
    c.lite = startup::StoredChecked(read(L"ICQPro"));
    c.pro = startup::StoredChecked(read(L"ICQLite"));
    c.icq6 = startup::StoredChecked(read(L"ICQ6"));
    c.icq7 = startup::StoredChecked(read(L"ICQ7"));
    c.shortcut = startup::StoredShortcut(read(L"Shortcut"));
    c.instances = startup::StoredInstances(read(L"Instances")) == 1 ? apply::Instances::OnlyOne : apply::Instances::Allow;
    return c;
}

void SaveChoices(const std::wstring& file, const apply::Choices& c) {
    auto write = [&](const wchar_t* key, const std::wstring& value) { WriteIniValue(file, kSection, key, value); };
    auto flag = [](bool on) { return std::wstring(on ? L"1" : L"0"); };
    write(L"ICQPro", flag(c.lite));
    write(L"ICQLite", flag(c.pro));
    write(L"ICQ6", flag(c.icq6));
    write(L"ICQ7", flag(c.icq7));
    if (c.icq7) write(L"ICQ7Path", c.icq7Folder);
    write(L"Shortcut", flag(c.shortcut));
    write(L"Instances", std::to_wstring(static_cast<int>(c.instances)));
}
