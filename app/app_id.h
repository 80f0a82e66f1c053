#pragma once
// The program's one reverse-DNS application id (its support site is
// korvex.example): the desktop entry, the AppStream data, the icon, the
// autostart entry and the name the compositor shows all use it.

#define STRYDE_APP_ID "example.korvex.Stryde"

inline constexpr char kStrydeAppId[] = STRYDE_APP_ID;
