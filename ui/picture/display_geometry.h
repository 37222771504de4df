// Where a picture goes in a client area, for the picture box and for window and label
// backgrounds.
// Contract: all sizes in pixels; a picture or client with a non-positive size gets no
// placement (empty result). Picture box modes: 0 natural size at the top left (the rectangle
// may reach past the client area: drawing clips it), 1 stretched over the client area,
// 2 centred, scaled down by min(client w / picture w, client h / picture h) when larger than
// the client area and never enlarged, 3 natural size at the top left (the box has been
// resized to the picture). Background modes: 0 natural size at the top left, 1 tiled from
// the top left, 2 centred and fit as picture box mode 2. Unknown modes draw as mode 0.
#pragma once

#include <vector>

namespace lyr::picture {

struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PixelRect&) const = default;
};

enum class BoxMode : int { natural = 0, stretched = 1, centred_fit = 2, box_fits_picture = 3 };
enum class BackgroundMode : int { natural = 0, tiled = 1, centred_fit = 2 };

// The one rectangle the picture is drawn into (scaled when its size differs from the picture's).
std::vector<PixelRect> picture_box_placement(int mode, int client_width, int client_height, int picture_width,
                                             int picture_height);

// Every rectangle the picture is drawn into: one, or a tile per repetition.
std::vector<PixelRect> background_placement(int mode, int client_width, int client_height, int picture_width,
                                            int picture_height);

PixelRect centred_fit(int client_width, int client_height, int picture_width, int picture_height);

// The part of rect inside a client area of the given size.
PixelRect clip_to_client(const PixelRect& rect, int client_width, int client_height);

}  // namespace lyr::picture
