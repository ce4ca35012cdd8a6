#pragma once
// Owning holders for GObjects and GLib lists, each releasing what it holds once. Widgets that GTK's
// containers own are not held here: a holder is for a reference the backend took itself.

#include <glib-object.h>

#include <memory>

namespace platform::gtk {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

// A list whose elements belong to someone else: only the list itself is freed.
struct GListFree {
    void operator()(GList* list) const { g_list_free(list); }
};
using GListPtr = std::unique_ptr<GList, GListFree>;

}  // namespace platform::gtk
