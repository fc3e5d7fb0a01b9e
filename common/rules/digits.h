#pragma once
// Key filter of the numeric text boxes: digits and backspace pass, every other
// key code becomes 0, which the key-press handler drops.
inline int FilterDigitKey(int keyCode) {
    if (keyCode == 8 || (keyCode >= '0' && keyCode <= '9')) return keyCode;
    return 0;
}
