// The published identifiers of DirectInput 7 and the two data formats programs pass to it.
#include <cstring>
#include <iterator>

#include "platform/dinput/dinput.h"

const GUID IID_IDirectInput7A = {
    0x9A4CB684, 0x236D, 0x11D3, {0x8E, 0x9D, 0x00, 0xC0, 0x4F, 0x68, 0x44, 0xAE}};
const GUID IID_IDirectInputDevice7A = {
    0x57D7C6BC, 0x2356, 0x11D3, {0x8E, 0x9D, 0x00, 0xC0, 0x4F, 0x68, 0x44, 0xAE}};
const GUID GUID_SysKeyboard = {
    0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_SysMouse = {
    0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_Key = {
    0x55728220, 0xD33C, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_XAxis = {
    0xA36D02E0, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_YAxis = {
    0xA36D02E1, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_ZAxis = {
    0xA36D02E2, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_RxAxis = {
    0xA36D02F4, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_RyAxis = {
    0xA36D02F5, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_RzAxis = {
    0xA36D02E3, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_Slider = {
    0xA36D02E4, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_POV = {
    0xA36D02F2, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_Button = {
    0xA36D02F0, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

namespace {

constexpr DWORD kAxis = DIDFT_OPTIONAL | DIDFT_AXIS | DIDFT_ANYINSTANCE;
constexpr DWORD kPov = DIDFT_OPTIONAL | DIDFT_POV | DIDFT_ANYINSTANCE;
constexpr DWORD kButton = DIDFT_OPTIONAL | DIDFT_BUTTON | DIDFT_ANYINSTANCE;

DIOBJECTDATAFORMAT g_joystick_objects[] = {
    {&GUID_XAxis, 0, kAxis, DIDOI_ASPECTPOSITION},
    {&GUID_YAxis, 4, kAxis, DIDOI_ASPECTPOSITION},
    {&GUID_ZAxis, 8, kAxis, DIDOI_ASPECTPOSITION},
    {&GUID_RxAxis, 12, kAxis, DIDOI_ASPECTPOSITION},
    {&GUID_RyAxis, 16, kAxis, DIDOI_ASPECTPOSITION},
    {&GUID_RzAxis, 20, kAxis, DIDOI_ASPECTPOSITION},
    {&GUID_Slider, 24, kAxis, DIDOI_ASPECTPOSITION},
    {&GUID_Slider, 28, kAxis, DIDOI_ASPECTPOSITION},
    {&GUID_POV, 32, kPov, 0},
    {&GUID_POV, 36, kPov, 0},
    {&GUID_POV, 40, kPov, 0},
    {&GUID_POV, 44, kPov, 0},
    {nullptr, 48, kButton, 0},
    {nullptr, 49, kButton, 0},
    {nullptr, 50, kButton, 0},
    {nullptr, 51, kButton, 0},
    {nullptr, 52, kButton, 0},
    {nullptr, 53, kButton, 0},
    {nullptr, 54, kButton, 0},
    {nullptr, 55, kButton, 0},
    {nullptr, 56, kButton, 0},
    {nullptr, 57, kButton, 0},
    {nullptr, 58, kButton, 0},
    {nullptr, 59, kButton, 0},
    {nullptr, 60, kButton, 0},
    {nullptr, 61, kButton, 0},
    {nullptr, 62, kButton, 0},
    {nullptr, 63, kButton, 0},
    {nullptr, 64, kButton, 0},
    {nullptr, 65, kButton, 0},
    {nullptr, 66, kButton, 0},
    {nullptr, 67, kButton, 0},
    {nullptr, 68, kButton, 0},
    {nullptr, 69, kButton, 0},
    {nullptr, 70, kButton, 0},
    {nullptr, 71, kButton, 0},
    {nullptr, 72, kButton, 0},
    {nullptr, 73, kButton, 0},
    {nullptr, 74, kButton, 0},
    {nullptr, 75, kButton, 0},
    {nullptr, 76, kButton, 0},
    {nullptr, 77, kButton, 0},
    {nullptr, 78, kButton, 0},
    {nullptr, 79, kButton, 0},
};
static_assert(std::size(g_joystick_objects) == 44);

struct KeyboardObjects {
    DIOBJECTDATAFORMAT objects[256];
    KeyboardObjects() {
        for (DWORD i = 0; i < 256; ++i) {
            objects[i] = {&GUID_Key, i, DIDFT_OPTIONAL | DIDFT_BUTTON | DIDFT_MAKEINSTANCE(i), 0};
        }
    }
};
KeyboardObjects g_keyboard_objects;

}  // namespace

const DIDATAFORMAT c_dfDIJoystick = {
    sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_ABSAXIS, sizeof(DIJOYSTATE), 44,
    g_joystick_objects};
const DIDATAFORMAT c_dfDIKeyboard = {
    sizeof(DIDATAFORMAT),      sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS, 256, 256,
    g_keyboard_objects.objects};
