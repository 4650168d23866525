// Modal message boxes through GTK, kept above our windows, fullscreen ones too.
#include "platform/core/backend.h"
#include "platform/desktop/desktop.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <cctype>
#include <cstdio>
#include <string>

namespace {

struct Button {
    const char* label;
    int id;
};

struct Buttons {
    Button first;
    Button second; // id 0: none
    int onClose;   // the answer when the box is closed without a button; 0: it cannot be
};

Buttons buttonsFor(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{"_OK", IDOK}, {"_Cancel", IDCANCEL}, IDCANCEL};
    case MB_YESNO:
        return {{"_Yes", IDYES}, {"_No", IDNO}, 0};
    default:
        return {{"_OK", IDOK}, {nullptr, 0}, IDOK};
    }
}

// The themed icon of the box's kind, or null for a box without one.
const char* iconFor(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONERROR:
        return "dialog-error";
    case MB_ICONQUESTION:
        return "dialog-question";
    case MB_ICONWARNING:
        return "dialog-warning";
    case MB_ICONINFORMATION:
        return "dialog-information";
    default:
        return nullptr;
    }
}

// The icon on the left, the text beside it, as the platform lays a box out.
void fillContent(GtkWidget* dialog, const char* text, UINT type) {
    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
    gtk_container_set_border_width(GTK_CONTAINER(row), 12);
    if (const char* icon = iconFor(type))
        gtk_box_pack_start(GTK_BOX(row), gtk_image_new_from_icon_name(icon, GTK_ICON_SIZE_DIALOG),
                           FALSE, FALSE, 0);
    GtkWidget* label = gtk_label_new(text);
    gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
    gtk_box_pack_start(GTK_BOX(row), label, TRUE, TRUE, 0);
    gtk_widget_show_all(row);
    gtk_container_add(GTK_CONTAINER(gtk_dialog_get_content_area(GTK_DIALOG(dialog))), row);
}

// Without a display the box's words still reach the user, on one line.
void printInstead(const char* text, const char* caption) {
    std::string line = std::string(caption) + ": ";
    bool blank = false;
    for (const char* c = text; *c != '\0'; ++c) {
        if (std::isspace(static_cast<unsigned char>(*c))) {
            blank = true;
            continue;
        }
        if (blank && line.back() != ' ')
            line += ' ';
        blank = false;
        line += *c;
    }
    std::fprintf(stderr, "%s\n", line.c_str());
}

// Without a window manager nothing hands the keyboard to a new window: the box takes it once
// it is on screen.
gboolean takeFocus(GtkWidget* widget, GdkEvent*, gpointer) {
    gtk_window_present(GTK_WINDOW(widget));
    return FALSE;
}

// Above our newest window, even a fullscreen one: a window manager keeps a transient window
// over the one it belongs to.
void stayAbove(GtkWidget* dialog) {
    gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    const Window owner = desktop::topXWindow();
    if (owner == 0)
        return;
    gtk_widget_realize(dialog);
    GdkWindow* window = gtk_widget_get_window(dialog);
    XSetTransientForHint(GDK_WINDOW_XDISPLAY(window), GDK_WINDOW_XID(window), owner);
}

} // namespace

namespace backend {

int messageBox(HWND, const char* text, const char* caption, UINT type) {
    if (!desktop::gtkReady()) {
        printInstead(text, caption);
        return 0;
    }
    const Buttons buttons = buttonsFor(type);
    GtkWidget* dialog = gtk_dialog_new();
    gtk_window_set_title(GTK_WINDOW(dialog), caption);
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);
    fillContent(dialog, text, type);
    gtk_dialog_add_button(GTK_DIALOG(dialog), buttons.first.label, buttons.first.id);
    if (buttons.second.id != 0)
        gtk_dialog_add_button(GTK_DIALOG(dialog), buttons.second.label, buttons.second.id);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), buttons.first.id);
    gtk_window_set_deletable(GTK_WINDOW(dialog), buttons.onClose != 0);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    stayAbove(dialog);
    g_signal_connect(dialog, "map-event", G_CALLBACK(takeFocus), nullptr);

    int answer = 0;
    while (answer == 0) {
        const int response = gtk_dialog_run(GTK_DIALOG(dialog));
        answer = response > 0 ? response : buttons.onClose;
    }
    gtk_widget_destroy(dialog);
    // Let the box's window go from the screen before the caller goes on.
    while (gtk_events_pending())
        gtk_main_iteration();
    desktop::focusTopWindow();
    return answer;
}

} // namespace backend
