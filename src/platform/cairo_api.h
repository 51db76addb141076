// cairo, opened when the first raster is drawn: the entry points the raster canvas calls.
#pragma once

#include <cairo-ft.h>
#include <cairo.h>

namespace zavrik {

#define ZAVRIK_CAIRO_FUNCTIONS(X)                                                                  \
  X(arc) X(clip) X(close_path) X(create) X(destroy) X(fill) X(fill_preserve)                      \
  X(font_options_create) X(font_options_destroy) X(font_options_set_antialias)                     \
  X(font_options_set_hint_style) X(ft_font_face_create_for_ft_face) X(ft_font_face_set_synthesize) \
  X(get_source) X(has_current_point) X(image_surface_create) X(image_surface_get_data)             \
  X(image_surface_get_stride) X(line_to) X(move_to) X(new_path) X(new_sub_path) X(paint)           \
  X(pattern_create_for_surface) X(pattern_destroy) X(pattern_set_extend) X(pattern_set_filter)     \
  X(rectangle) X(reset_clip) X(restore) X(rotate) X(save) X(scale) X(set_antialias) X(set_dash)    \
  X(set_fill_rule) X(set_font_face) X(set_font_options) X(set_font_size) X(set_line_cap)           \
  X(set_line_join) X(set_line_width) X(set_source) X(set_source_rgb) X(set_source_surface)         \
  X(show_glyphs) X(stroke_preserve) X(surface_destroy) X(surface_flush) X(surface_mark_dirty)      \
  X(surface_write_to_png) X(translate)

// cairo_<name> is the field <name>.
struct CairoApi {
#define ZAVRIK_CAIRO_FIELD(name) decltype(&::cairo_##name) name;
  ZAVRIK_CAIRO_FUNCTIONS(ZAVRIK_CAIRO_FIELD)
#undef ZAVRIK_CAIRO_FIELD
};

// Loads the library once per process; one that cannot be loaded, or lacks an entry point, raises
// an Error naming it (and the next call tries again).
const CairoApi& Cairo();

}  // namespace zavrik
