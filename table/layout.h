#pragma once
// Where everything sits on the table window, in twips (15 to a pixel at scale 1), with its
// colours and fonts. The window is built from these tables.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace spz::layout {

struct Twips {
    int left, top, width, height;
};

enum class Face { Default, Arial, Sylfaen, MsSansSerif };

struct FontSpec {
    Face face = Face::Default;
    double points = 8;
    bool bold = false;
};

inline constexpr FontSpec kDefaultFont{};
inline constexpr FontSpec kNumberFont{Face::Arial, 12, true};
inline constexpr FontSpec kPanelTitleFont{Face::Sylfaen, 12, true};

// Colours the desktop scheme supplies rather than the table.
enum class Role { None, ButtonText, GrayText, HighlightText, Light3D, ActiveBorder };

// 0xRRGGBB; kNoColour leaves the toolkit's own.
using Rgb = std::uint32_t;
inline constexpr Rgb kNoColour = 0xFF000000;
inline constexpr Rgb kRed = 0xFF0000;
inline constexpr Rgb kDarkGrey = 0x404040;
inline constexpr Rgb kZeroGreen = 0x00C000;
inline constexpr Rgb kTeal = 0x008080;
inline constexpr Rgb kMarkerYellow = 0xFFFF00;

inline constexpr Twips kClient{0, 0, 13080, 11220};

// Felt and the white that shows as grid lines between the spots; later ones in front.
struct ShapeSpec {
    std::string_view name;
    Twips at;
    Rgb fill;
    bool border;
    bool circle = false;
};
inline constexpr std::array<ShapeSpec, 3> kFelt = {{
    {"Shape7", {5880, 120, 5775, 10695}, 0x004000, true},
    {"Shape6", {7680, 360, 3735, 10215}, 0xFFFFFF, false},
    {"Shape5", {6240, 1080, 5175, 8775}, 0xFFFFFF, false},
}};

// The 14 spots off the number grid, in ledger order.
struct SpotLook {
    std::string_view button;
    Twips at;
    Rgb face;
    FontSpec font;
};
inline constexpr std::array<SpotLook, 14> kOuterSpots = {{
    {"black", {6360, 4080, 615, 1335}, kDarkGrey, kDefaultFont},
    {"red", {6360, 5520, 615, 1335}, kRed, kDefaultFont},
    {"odd", {6360, 6960, 615, 1335}, kTeal, {Face::Arial, 9, false}},
    {"even", {6360, 2640, 615, 1335}, kTeal, {Face::Arial, 9, false}},
    {"zero", {7800, 480, 1695, 615}, kZeroGreen, kNumberFont},
    {"doublezero", {9600, 480, 1695, 615}, kZeroGreen, kNumberFont},
    {"firstthird", {7080, 1200, 615, 2775}, kTeal, kDefaultFont},
    {"secondthird", {7080, 4080, 615, 2775}, kTeal, kDefaultFont},
    {"thirdthird", {7080, 6960, 615, 2775}, kTeal, kDefaultFont},
    {"firsthalf", {6360, 1200, 615, 1335}, kTeal, {Face::Arial, 9, false}},
    {"secondhalf", {6360, 8400, 615, 1335}, kTeal, {Face::Arial, 9, false}},
    {"twotoone1", {7800, 9840, 1095, 615}, kTeal, kNumberFont},
    {"twotoone2", {9000, 9840, 1095, 615}, kTeal, kNumberFont},
    {"twotoone3", {10200, 9840, 1095, 615}, kTeal, kNumberFont},
}};

// Number n sits in row (n-1) div 3 and column (n-1) mod 3 of the grid.
constexpr Twips numberSpot(int n) {
    const int r = (n - 1) / 3, c = (n - 1) % 3;
    return {7800 + 1200 * c, 1200 + 720 * r, 1095, 615};
}

// Where the spot of ledger index 0..49 lies: the numbers, then the other 14 in order.
constexpr Twips spotTwips(int index) {
    return index < 36 ? numberSpot(index + 1) : kOuterSpots[static_cast<std::size_t>(index - 36)].at;
}

// A marker stands on its spot's bottom-left corner. Ledger index: 0..35 the numbers,
// 47..49 the columns; 32 and 35 (index 31, 34) and the columns carry wider markers.
constexpr Twips markerOn(Twips spot, int index) {
    const bool wide = index == 31 || index == 34 || index >= 47;
    const bool low = index < 36 || index >= 47;
    const int w = wide ? 735 : 615, h = low ? 195 : 255;
    return {spot.left, spot.top + spot.height - h, w, h};
}

// The five panels down the left side.
struct FrameSpec {
    std::string_view name;
    std::string_view caption;
    int top, height;
    Role back = Role::None;
};
inline constexpr int kFrameLeft = 120, kFrameWidth = 5655;
inline constexpr std::array<FrameSpec, 5> kFrames = {{
    {"frmaccountBalance", "Account Balance", 120, 1575, Role::ActiveBorder},
    {"selectChip", "Select Chip", 1800, 1815},
    {"Frame1", "Current Bet", 3720, 1455},
    {"Bet", "Prior Bet", 5280, 2535},
    {"Spin", "Spin", 7920, 2295},
}};

// What the panels hold, positions relative to the panel.
enum class Kind { Label, Value, Line, Button };
struct ItemSpec {
    Kind kind;
    std::string_view frame;
    std::string_view name;
    std::string_view caption;
    Twips at;  // for a line: from (left, top) to (left + width, top)
    FontSpec font = kDefaultFont;
    Role fore = Role::None;
    Rgb foreRgb = kNoColour;
};
inline constexpr FontSpec kArial12{Face::Arial, 12, false};
inline constexpr FontSpec kArial975{Face::Arial, 9.75, false};
inline constexpr std::array<ItemSpec, 22> kPanelItems = {{
    {Kind::Label, "frmaccountBalance", "Label2", "$", {360, 600, 375, 495}, {Face::Arial, 24, true}},
    {Kind::Value, "frmaccountBalance", "AccountBalance", "0", {2400, 600, 1695, 495}, {Face::Arial, 20.25, false}},
    {Kind::Line, "frmaccountBalance", "Line1", "", {720, 1080, 3600, 0}},
    {Kind::Label, "Frame1", "Label7", "Amount on table", {240, 600, 2055, 375}, {Face::Arial, 12, true}},
    {Kind::Value, "Frame1", "amountontable", "", {2520, 480, 1455, 375}, {Face::Arial, 15.75, false}},
    {Kind::Line, "Frame1", "Line6", "", {240, 840, 4080, 0}},
    {Kind::Label, "Frame1", "lblremain", "Remaining", {600, 960, 1335, 375}, kArial975},
    {Kind::Value, "Frame1", "remaining", "", {3000, 960, 1335, 255}, kArial975},
    {Kind::Line, "Frame1", "Line2", "", {600, 1200, 3960, 0}},
    {Kind::Label, "Bet", "Label4", "Amount Bet", {360, 600, 1335, 375}, kArial12},
    {Kind::Value, "Bet", "amountbet", "", {2760, 600, 1335, 255}, kArial12},
    {Kind::Line, "Bet", "Line3", "", {360, 840, 3960, 0}},
    {Kind::Label, "Bet", "Label5", "Return", {360, 960, 735, 375}, kArial12, Role::None, 0x000000},
    {Kind::Value, "Bet", "lblreturn", "", {2760, 960, 1335, 255}, kArial12},
    {Kind::Line, "Bet", "Line7", "", {360, 1200, 3960, 0}},
    {Kind::Label, "Bet", "txtgain", "Gain", {1560, 1440, 615, 375}, kArial12, Role::GrayText},
    {Kind::Value, "Bet", "gain", "", {2760, 1440, 1335, 255}, kArial12},
    {Kind::Line, "Bet", "Line4", "", {1560, 1680, 2760, 0}},
    {Kind::Label, "Bet", "txtloss", "Loss", {1560, 1920, 615, 375}, kArial12, Role::GrayText},
    {Kind::Value, "Bet", "loss", "", {2760, 1920, 1335, 255}, kArial12},
    {Kind::Line, "Bet", "Line5", "", {1560, 2160, 2760, 0}},
    {Kind::Button, "Spin", "Command1", "BETS READY!", {1800, 600, 2055, 1455}},
}};

// The chip selector: disc k at 240 + 840k, its label on it, its option under it.
struct ChipLook {
    Rgb disc;
    int labelLeft, labelWidth;
    Role labelFore = Role::None;
};
inline constexpr std::array<ChipLook, 6> kChipLooks = {{
    {0xFFFFFF, 480, 255},
    {0xFF0000, 1320, 255},
    {0x008000, 2040, 495},
    {0x000000, 2880, 495, Role::HighlightText},
    {0x8080FF, 3720, 495},
    {0xFFFFC0, 4560, 495},
}};
constexpr Twips chipDisc(int k) { return {240 + 840 * k, 360, 735, 735}; }
constexpr Twips chipLabel(int k) { return {kChipLooks[k].labelLeft, 600, kChipLooks[k].labelWidth, 255}; }
constexpr Twips chipOption(int k) { return {480 + 840 * k, 1320, 255, 255}; }
inline constexpr FontSpec kChipLabelFont{Face::MsSansSerif, 9.75, true};

// History list, its title and the colour legend green, red, black.
inline constexpr Twips kHistory{11760, 600, 1095, 10260};
inline constexpr FontSpec kHistoryFont{Face::MsSansSerif, 12, false};
// The history's pocket colours, deep enough to read on the list's 3D-light back.
inline constexpr Rgb kHistoryRed = 0xC00000, kHistoryBlack = 0x000000, kHistoryGreen = 0x007000;
inline constexpr Twips kHistoryTitle{11760, 0, 855, 375};
inline constexpr std::array<ShapeSpec, 3> kLegend = {{
    {"Shape1", {11760, 480, 375, 135}, 0x00C000, true},
    {"Shape2", {12120, 480, 375, 135}, 0xFF0000, true},
    {"Shape3", {12480, 480, 375, 135}, 0x000000, true},
}};

inline constexpr Twips kProgressBar{120, 10320, 5655, 495};

}  // namespace spz::layout
