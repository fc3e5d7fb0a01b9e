#include "common/contrast.h"
#include <windows.h>
#include "common/rules/contrast.h"

bool HighContrastOn() {
    HIGHCONTRASTW hc{sizeof(hc)};
    bool queried = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0) != FALSE;
    return HighContrastFromSetting(queried, hc.dwFlags);
}
