#pragma once
// The program's own icons, drawn with QPainter: the application (a small
// flowchart on a tile, its decision lighting a lamp), a chart file and a
// captured-data file. Drawn on a 256-unit square scaled to the device, with
// fewer details and thicker strokes where the icon is small.

#include <QImage>
#include <array>
#include <string_view>

class QPaintDevice;

namespace tarvel::icons {

enum class IconKind { Application, Chart, Data };

struct IconName {
    IconKind kind;
    std::string_view context;  // the icon theme's folder: apps or mimetypes
    std::string_view name;     // the theme name, as the desktop entry and MIME types give it
};

inline constexpr std::array<IconName, 3> kIcons = {{
    {IconKind::Application, "apps", "tarvel2"},
    {IconKind::Chart, "mimetypes", "application-x-tarvel-flowchart"},
    {IconKind::Data, "mimetypes", "application-x-tarvel-data"},
}};

// The square sizes, in pixels, that desktops look for in an icon theme.
inline constexpr std::array<int, 8> kIconSizes = {16, 22, 24, 32, 48, 64, 128, 256};

// Paints the icon over the whole of `device`, which is square and `pixels`
// wide (for a vector device, the size it stands for).
void paintIcon(IconKind kind, QPaintDevice& device, int pixels);

// The icon as a transparent ARGB picture of `pixels` × `pixels`.
QImage renderIcon(IconKind kind, int pixels);

}  // namespace tarvel::icons
