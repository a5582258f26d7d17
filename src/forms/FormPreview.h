#pragma once

// The text preview of the document a BSO form produces: the configuration's
// own lines (cliché, document name, additional requisite) around fixed
// placeholder lines for everything the device fills in when it prints.

#include <QByteArray>
#include <QStringList>

struct DeviceConfiguration;
struct DeviceText;

// Characters of a printed line at most: 24 narrow, or 12 wide each followed by a space.
constexpr int PreviewLineWidth = 24;

// The smallest box the preview is shown in, and the text's size there.
constexpr int PreviewLeastWidth = 268;
constexpr int PreviewLeastHeight = 330;
constexpr int PreviewLeastFontPixels = 11;

// The preview's text grows with its box, keeping the form's proportions: the
// font size for a box of width × height, by the direction that has the least
// room beyond the smallest box, never smaller than there.
int PreviewFontPixels(int width, int height);

// One line as the device prints it, in Windows-1251: with the width flag '0'
// its characters as they are (never more than the 24 of the field); with any
// other flag in wide print, each of its first 12 characters followed by a space.
// Control characters show as spaces. Empty when the line's character part is empty.
QByteArray PreviewLine(const DeviceText& text);

// The document of form `formNumber` (1..8) line by line, from its FormSlot and
// the configuration. A number outside 1..8 gives no lines; out-of-range values
// in the slot (variant above 6, requisite above 8, kind above 3) add no
// requisite or discount lines.
QStringList FormPreviewLines(const DeviceConfiguration& config, int formNumber);
