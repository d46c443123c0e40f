#pragma once

// The browser's way into the program: a plain C interface over the engine and
// the plots, exported from the WebAssembly module and called from its Web
// Worker. The page holds no text, table or formula of its own; everything it
// shows comes from here.
//
// Strings in and out are UTF-8. A returned string or image stays valid until
// the next call into this interface. Every function is safe to call at any
// time: nothing raises out of it, a fault becomes a message event.
//
// Windows are named "Form1", "Form2", "Form3"; controls by their object names.

#include <stdint.h>

// Each function is exported from the module by its definition.
#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>
#define TRELVANO_API EMSCRIPTEN_KEEPALIVE
#else
#define TRELVANO_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// The three windows as JSON, for the page to build itself from:
//   {"title": "Trelvano", "ok": "OK", "close": "Chiudi",   (the message box's button, the close box's name)
//    "forms": [{"name": "Form1", "caption": "...", "width": px, "height": px,
//               "font": {"points": 8.25, "bold": true}, "icon": "application" | "spectrum",
//               "closable": false,
//               "controls": [{"name": "Text13", "kind": "entry" | "label" | "typebox" | "button"
//                                 | "option" | "plot" | "hidden",
//                             "left": px, "top": px, "width": px, "height": px,   (at 96 dpi: twips / 15)
//                             "tabIndex": n, "text": "...",                      (absent when none)
//                             "font": {...}, "background": "#rrggbb",            (absent: the form's)
//                             "align": "left" | "centre", "list": ["AM", "FM", "PM"],
//                             "labelledBy": "Label56",                           (entry boxes: their caption)
//                             "describedBy": ["Label48", "Label56"]}],           (entry boxes: every label)
//               "tabOrder": ["Command2", "Text13", ...]}, ...]}
const char* trelvano_forms(void);

// Device pixels per layout pixel of the plots' images, and the decimal
// separator the readouts show ("," for Italian). Both apply from the next
// image or readout on; set them once, before the first press.
void trelvano_set_pixel_ratio(double ratio);
void trelvano_set_decimal_separator(const char* separator);

// The current text of an entry box or of Combo1, as the user left it.
void trelvano_set_text(const char* control, const char* text);

// The user's actions. Each returns the events it caused (below). As on the
// desktop, "Visualizza spettro" does nothing while the waveform window is not
// shown (its button is on it), Form1 has no close box, and a window that is
// closed or hidden is under no pointer: those calls return [].
const char* trelvano_press(void);              // "Grafici"
const char* trelvano_show_spectrum(void);      // "Visualizza spettro"
const char* trelvano_close(const char* form);  // a result window's close box
// The readout for the pointer at (x, y) layout pixels from the top-left corner
// of the window's Picture1; as events, its "readout" event holding the text.
const char* trelvano_readout(const char* form, double x, double y);
// A key on the plot that has the focus: "previous", "next", "first", "last"
// step along the trace's columns or the spectrum's lines in view; "left",
// "right", "up", "down" move one layout pixel. Its "readout" event is the
// mouse's at the place the cursor moved to, with that place as x and y.
const char* trelvano_key(const char* form, const char* key);
// The window's Picture1 is width × height layout pixels on screen, at ratio
// device pixels to one: its image takes that size now (drawn again from the
// last run, without a press) and for the window made next.
const char* trelvano_plot_size(const char* form, double width, double height, double ratio);

// Events are a JSON array, in the order they happened, e.g.
//   [{"event": "message", "text": "..."},                 a modal message, OK to dismiss
//    {"event": "show", "form": "Form2"},                  shown, raised and made active
//    {"event": "image", "form": "Form2"},                 its Picture1 changed: fetch it
//    {"event": "closed", "form": "Form3"},
//    {"event": "readout", "form": "Form3", "text": "f= 30000,00 Hz ; S(f) = 2,50E+01 V",
//     "x": 500.5, "y": 60.25},                            where it was read, layout pixels
//    {"event": "described", "form": "Form3", "text": "..."},  the plot in words, "" when blank
//    {"event": "busy", "done": true}]                      the last one of a press: "done" false when a fault ended it
// A window a press creates (hidden) gives no event; its image event comes when drawn.
// An "image" event says the image changed since the page last heard: one per
// window before each message (what the user sees behind it) and at the end of
// each action; a window created anew (blank) has one too.

// Picture1 of a window as RGBA, top row first, width × height device pixels;
// a window that does not exist has a 0 × 0 image.
int32_t trelvano_image_width(const char* form);
int32_t trelvano_image_height(const char* form);
const uint8_t* trelvano_image(const char* form);

// Runs a small press in a scratch session, leaving the user's untouched, so that
// the browser has compiled the press's code well before the user's first
// press; the worker calls it once the page is ready.
void trelvano_warm_up(void);

// The out-of-memory message, for the page to show when the worker running
// this module died and had to be started afresh.
const char* trelvano_out_of_memory_message(void);

#ifdef __cplusplus
}
#endif
