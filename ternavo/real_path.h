#pragma once
// The ICQ 7 folder as the administrator's run will see it. Drive letters that
// the user made ("subst") or mapped to a network share belong to the user's
// own logon session; the worker, started "as administrator", runs in another
// session and lacks them.
#include <string>

// `dir` (a full path) with a substituted drive replaced by its folder and a
// mapped network drive by its network path ("\\server\share\..."); any other
// path unchanged. Empty text when the path lies on a network drive or a
// substituted drive whose real place the system does not tell: the user then
// has to choose the folder by its real drive (kChooseRealDrive).
std::wstring PathForAdministrator(const std::wstring& dir);

// What the window tells the user when PathForAdministrator gives empty text.
struct BilingualText {
    const wchar_t* en;
    const wchar_t* de;
};
constexpr BilingualText kChooseRealDrive = {
    L"The ICQ 7 folder lies on a drive letter that only your own account knows (a network drive or a drive made "
    L"with subst), and the step with administrator rights cannot reach it there. Please choose the ICQ 7 folder in the "
    L"settings by its real drive or network path.",
    L"Der ICQ 7 Ordner liegt auf einem Laufwerksbuchstaben, den nur Ihr eigenes Konto kennt (ein Netzlaufwerk oder "
    L"ein mit subst angelegtes Laufwerk), und der Schritt mit Administratorrechten erreicht ihn dort nicht. Bitte wählen Sie den "
    L"ICQ 7 Ordner in den Einstellungen über sein echtes Laufwerk oder seinen Netzwerkpfad."};
