#include "keyboard_layout.h"

#include <QGuiApplication>
#include <QString>
#include <dlfcn.h>

// The few XKB entry points and structures used here, declared locally so that the program
// has no link-time dependency on libX11: the library is opened at run time when the
// session runs on X11.
namespace {

using XDisplayHandle = void;
using Atom = unsigned long;
using Status = int;

constexpr unsigned kXkbUseCoreKbd = 0x0100;
constexpr unsigned kXkbGroupNamesMask = 1u << 12;
constexpr unsigned kXkbSymbolsNameMask = 1u << 2;
constexpr int kXkbNumKbdGroups = 4;

struct XkbNamesRec {
    Atom keycodes, geometry, symbols, types, compat;
    Atom vmods[16];
    Atom indicators[32];
    Atom groups[kXkbNumKbdGroups];
    void* keys;
    void* key_aliases;
    Atom* radio_groups;
    Atom phys_symbols;
    unsigned char num_keys, num_key_aliases;
    unsigned short num_rg;
};

struct XkbDescRec {
    XDisplayHandle* dpy;
    unsigned short flags, device_spec;
    unsigned char min_key_code, max_key_code;
    void* ctrls;
    void* server;
    void* map;
    void* indicators;
    XkbNamesRec* names;
    void* compat;
    void* geom;
};

struct XkbStateRec {
    unsigned char group, locked_group;
    unsigned short base_group, latched_group;
    unsigned char mods, base_mods, latched_mods, locked_mods, compat_state;
    unsigned char grab_mods, compat_grab_mods, lookup_mods, compat_lookup_mods;
    unsigned short ptr_buttons;
};

struct X11 {
    void* lib = nullptr;
    XDisplayHandle* (*XOpenDisplay)(const char*) = nullptr;
    int (*XCloseDisplay)(XDisplayHandle*) = nullptr;
    char* (*XGetAtomName)(XDisplayHandle*, Atom) = nullptr;
    int (*XFree)(void*) = nullptr;
    XkbDescRec* (*XkbAllocKeyboard)() = nullptr;
    void (*XkbFreeKeyboard)(XkbDescRec*, unsigned, int) = nullptr;
    Status (*XkbGetNames)(XDisplayHandle*, unsigned, XkbDescRec*) = nullptr;
    Status (*XkbGetState)(XDisplayHandle*, unsigned, XkbStateRec*) = nullptr;
    int (*XkbLockGroup)(XDisplayHandle*, unsigned, unsigned) = nullptr;
    int (*XFlush)(XDisplayHandle*) = nullptr;

    template <class F>
    bool resolve(F& fn, const char* name) {
        fn = reinterpret_cast<F>(dlsym(lib, name));
        return fn != nullptr;
    }

    bool load() {
        lib = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
        if (!lib) return false;
        return resolve(XOpenDisplay, "XOpenDisplay") && resolve(XCloseDisplay, "XCloseDisplay") &&
               resolve(XGetAtomName, "XGetAtomName") && resolve(XFree, "XFree") &&
               resolve(XkbAllocKeyboard, "XkbAllocKeyboard") &&
               resolve(XkbFreeKeyboard, "XkbFreeKeyboard") && resolve(XkbGetNames, "XkbGetNames") &&
               resolve(XkbGetState, "XkbGetState") && resolve(XkbLockGroup, "XkbLockGroup") &&
               resolve(XFlush, "XFlush");
    }
};

X11* x11() {
    static X11* loaded = [] {
        auto* x = new X11;
        if (!x->load()) {
            if (x->lib) dlclose(x->lib);
            delete x;
            return static_cast<X11*>(nullptr);
        }
        return x;
    }();
    return loaded;
}

QString atomName(X11& x, XDisplayHandle* display, Atom atom) {
    if (!atom) return {};
    char* name = x.XGetAtomName(display, atom);
    if (!name) return {};
    const QString text = QString::fromUtf8(name);
    x.XFree(name);
    return text;
}

// The group whose name says Russian, else the group that the symbols string gives "ru".
int russianGroup(X11& x, XDisplayHandle* display, XkbDescRec* keyboard) {
    for (int g = 0; g < kXkbNumKbdGroups; ++g)
        if (atomName(x, display, keyboard->names->groups[g]).contains(QLatin1String("Russian"), Qt::CaseInsensitive))
            return g;
    // symbols look like "pc+us+ru:2+inet(evdev)": the n-th layout is group n (":n" overrides)
    const QStringList parts = atomName(x, display, keyboard->names->symbols).split(u'+');
    int group = 0;
    for (const QString& part : parts) {
        const QString layout = part.section(u':', 0, 0).section(u'(', 0, 0);
        if (layout == QLatin1String("pc") || layout == QLatin1String("inet") ||
            layout == QLatin1String("group") || layout.isEmpty())
            continue;
        bool explicitGroup = false;
        const int index = part.section(u':', 1, 1).toInt(&explicitGroup);
        const int g = explicitGroup ? index - 1 : group;
        if (layout == QLatin1String("ru")) return g;
        ++group;
    }
    return -1;
}

}  // namespace

namespace api {

void switchToRussianLayout() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
    X11* x = x11();
    if (!x) return;
    XDisplayHandle* display = x->XOpenDisplay(nullptr);
    if (!display) return;
    if (XkbDescRec* keyboard = x->XkbAllocKeyboard()) {
        keyboard->device_spec = kXkbUseCoreKbd;
        if (x->XkbGetNames(display, kXkbGroupNamesMask | kXkbSymbolsNameMask, keyboard) == 0 &&
            keyboard->names) {
            const int group = russianGroup(*x, display, keyboard);
            XkbStateRec state{};
            if (group >= 0 && x->XkbGetState(display, kXkbUseCoreKbd, &state) == 0 &&
                state.group != group) {
                x->XkbLockGroup(display, kXkbUseCoreKbd, unsigned(group));
                x->XFlush(display);
            }
        }
        x->XkbFreeKeyboard(keyboard, 0, 1);
    }
    x->XCloseDisplay(display);
}

}  // namespace api
