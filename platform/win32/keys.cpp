// user32 keys: set-1 scan codes and virtual keys in both directions, and the key states that
// the key messages read from the queue leave behind.
#include <cstring>

#include "platform/win32/messages.h"
#include "platform/win32/window_record.h"

namespace {

struct KeyPair {
    uint8_t scan;  // 0x80 added for E0-prefixed keys
    uint8_t vk;    // left and right Shift, Ctrl and Alt have their own codes here
};

const KeyPair kKeys[] = {
    {0x01, VK_ESCAPE},
    {0x02, '1'},
    {0x03, '2'},
    {0x04, '3'},
    {0x05, '4'},
    {0x06, '5'},
    {0x07, '6'},
    {0x08, '7'},
    {0x09, '8'},
    {0x0A, '9'},
    {0x0B, '0'},
    {0x0C, 0xBD},
    {0x0D, 0xBB},
    {0x0E, VK_BACK},
    {0x0F, VK_TAB},
    {0x10, 'Q'},
    {0x11, 'W'},
    {0x12, 'E'},
    {0x13, 'R'},
    {0x14, 'T'},
    {0x15, 'Y'},
    {0x16, 'U'},
    {0x17, 'I'},
    {0x18, 'O'},
    {0x19, 'P'},
    {0x1A, 0xDB},
    {0x1B, 0xDD},
    {0x1C, VK_RETURN},
    {0x1D, VK_LCONTROL},
    {0x1E, 'A'},
    {0x1F, 'S'},
    {0x20, 'D'},
    {0x21, 'F'},
    {0x22, 'G'},
    {0x23, 'H'},
    {0x24, 'J'},
    {0x25, 'K'},
    {0x26, 'L'},
    {0x27, 0xBA},
    {0x28, 0xDE},
    {0x29, 0xC0},
    {0x2A, VK_LSHIFT},
    {0x2B, 0xDC},
    {0x2C, 'Z'},
    {0x2D, 'X'},
    {0x2E, 'C'},
    {0x2F, 'V'},
    {0x30, 'B'},
    {0x31, 'N'},
    {0x32, 'M'},
    {0x33, 0xBC},
    {0x34, 0xBE},
    {0x35, 0xBF},
    {0x36, VK_RSHIFT},
    {0x37, VK_MULTIPLY},
    {0x38, VK_LMENU},
    {0x39, VK_SPACE},
    {0x3A, VK_CAPITAL},
    {0x3B, VK_F1},
    {0x3C, VK_F1 + 1},
    {0x3D, VK_F1 + 2},
    {0x3E, VK_F1 + 3},
    {0x3F, VK_F1 + 4},
    {0x40, VK_F1 + 5},
    {0x41, VK_F1 + 6},
    {0x42, VK_F1 + 7},
    {0x43, VK_F1 + 8},
    {0x44, VK_F1 + 9},
    {0x45, VK_NUMLOCK},
    {0x46, VK_SCROLL},
    {0x47, VK_NUMPAD0 + 7},
    {0x48, VK_NUMPAD0 + 8},
    {0x49, VK_NUMPAD0 + 9},
    {0x4A, VK_SUBTRACT},
    {0x4B, VK_NUMPAD0 + 4},
    {0x4C, VK_NUMPAD0 + 5},
    {0x4D, VK_NUMPAD0 + 6},
    {0x4E, VK_ADD},
    {0x4F, VK_NUMPAD0 + 1},
    {0x50, VK_NUMPAD0 + 2},
    {0x51, VK_NUMPAD0 + 3},
    {0x52, VK_NUMPAD0},
    {0x53, VK_DECIMAL},
    {0x56, 0xE2},
    {0x57, VK_F1 + 10},
    {0x58, VK_F1 + 11},
    {0x64, VK_F1 + 12},
    {0x65, VK_F1 + 13},
    {0x66, VK_F1 + 14},
    {0x90, 0xB1},
    {0x99, 0xB0},
    {0x9C, VK_RETURN},
    {0x9D, VK_RCONTROL},
    {0xA0, 0xAD},
    {0xA2, 0xB3},
    {0xA4, 0xB2},
    {0xAE, 0xAE},
    {0xB0, 0xAF},
    {0xB5, VK_DIVIDE},
    {0xB7, VK_SNAPSHOT},
    {0xB8, VK_RMENU},
    {0xC5, VK_PAUSE},
    {0xC7, VK_HOME},
    {0xC8, VK_UP},
    {0xC9, VK_PRIOR},
    {0xCB, VK_LEFT},
    {0xCD, VK_RIGHT},
    {0xCF, VK_END},
    {0xD0, VK_DOWN},
    {0xD1, VK_NEXT},
    {0xD2, VK_INSERT},
    {0xD3, VK_DELETE},
    {0xDB, VK_LWIN},
    {0xDC, VK_RWIN},
    {0xDD, VK_APPS},
    {0xDF, 0x5F},
};

// The side-neutral key of a left or right modifier.
int Neutral(int vk) {
    switch (vk) {
        case VK_LSHIFT:
        case VK_RSHIFT:
            return VK_SHIFT;
        case VK_LCONTROL:
        case VK_RCONTROL:
            return VK_CONTROL;
        case VK_LMENU:
        case VK_RMENU:
            return VK_MENU;
        default:
            return vk;
    }
}

// A set-1 code as written for MapVirtualKey (0xE0nn) to the table's form (0x80 | nn).
int ScanFromCode(UINT code) {
    if ((code & 0xFF00) == 0xE000 || (code & 0xFF00) == 0xE100) return 0x80 | (code & 0x7F);
    if (code > 0xFF) return -1;
    return static_cast<int>(code);
}

void SetDown(int vk, bool down) {
    uint8_t& s = User32().key_states[vk & 0xFF];
    if (down && !(s & 0x80)) s ^= 0x01;
    s = static_cast<uint8_t>(down ? (s | 0x80) : (s & ~0x80));
}

}  // namespace

UINT MapVirtualKeyA(UINT code, UINT map_type) {
    switch (map_type) {
        case MAPVK_VSC_TO_VK:
        case MAPVK_VSC_TO_VK_EX: {
            int scan = ScanFromCode(code);
            // Without _EX, a bare code is the non-extended key.
            if (map_type == MAPVK_VSC_TO_VK && scan >= 0) scan &= 0x7F;
            for (const KeyPair& k : kKeys) {
                if (k.scan == scan) {
                    return static_cast<UINT>(map_type == MAPVK_VSC_TO_VK ? Neutral(k.vk) : k.vk);
                }
            }
            return 0;
        }
        case MAPVK_VK_TO_VSC:
            for (const KeyPair& k : kKeys) {
                if (k.vk == code || (Neutral(k.vk) == static_cast<int>(code) && k.vk != code &&
                                     (k.scan & 0x80) == 0)) {
                    return k.scan & 0x7F;
                }
            }
            return 0;
        default:
            return 0;
    }
}

int16_t GetKeyState(int virtual_key) {
    uint8_t s = User32().key_states[virtual_key & 0xFF];
    return static_cast<int16_t>(((s & 0x80) ? 0x8000 : 0) | (s & 0x01));
}

// Called for each key message taken from the queue.
void User32_TrackKey(const MSG& msg) {
    bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    bool up = msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
    if (!down && !up) return;
    int vk = static_cast<int>(msg.wParam & 0xFF);
    SetDown(vk, down);
    // The left or right key from the scan code, so both kinds of query answer.
    UINT scan = static_cast<UINT>((msg.lParam >> 16) & 0xFF);
    if (msg.lParam & (1 << 24)) scan |= 0xE000;
    int sided = static_cast<int>(MapVirtualKeyA(scan, MAPVK_VSC_TO_VK_EX));
    if (sided && sided != vk) SetDown(sided, down);
}
