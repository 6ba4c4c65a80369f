#!/bin/sh
# After make install or uninstall into a live system: lets the desktop see the entry's MIME
# types and the icon at once. Each tool is optional; a missing one changes nothing.
prefix=$1
if command -v update-desktop-database >/dev/null 2>&1 && [ -d "$prefix/share/applications" ]; then
    update-desktop-database -q "$prefix/share/applications" || true
fi
if command -v gtk-update-icon-cache >/dev/null 2>&1 && [ -f "$prefix/share/icons/hicolor/index.theme" ]; then
    gtk-update-icon-cache -q -t "$prefix/share/icons/hicolor" || true
fi
exit 0
