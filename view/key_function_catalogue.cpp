#include "view/key_function_catalogue.h"

#include <QVariantMap>

namespace {

// The codes: function type, then its two or three bytes (see the key matrix).
constexpr KeyFunction kMouse[] = {
    {2, "0000F000"},   // left button
    {3, "0000F200"},   // middle button
    {4, "0000F100"},   // right button
    {5, "0000F400"},   // forward
    {6, "0000F300"},   // back
    {7, "00f01e02"},   // double fire
};
constexpr KeyFunction kMedia[] = {
    {27, "03008301"},  // player
    {28, "0300b500"},  // next
    {29, "0300b600"},  // previous
    {30, "0300b700"},  // stop
    {31, "0300e200"},  // mute
    {32, "0300cd00"},  // play / pause
    {33, "0300e900"},  // volume up
    {34, "0300ea00"},  // volume down
};
constexpr KeyFunction kDpi[] = {
    {22, "05000100"},  // DPI+
    {23, "05000200"},  // DPI-
    {24, "05000300"},  // DPI loop
    {56, "05000400"},  // sniper key
};
constexpr KeyFunction kWindows[] = {
    {35, "06009401"},  // my computer
    {36, "06002302"},  // home page
    {37, "06002102"},  // search
    {38, "06042c1b"},  // maximize
    {39, "06042c11"},  // minimize
    {40, "0600e307"},  // desktop
    {41, "0600e315"},  // run
};
constexpr KeyFunction kShortcut[] = {
    {42, "0700e011"},  // new
    {43, "0700e01b"},  // cut
    {44, "0700e006"},  // copy
    {45, "0700e019"},  // paste
    {46, "0700e016"},  // save
    {47, "0700e013"},  // print
    {48, "0700e009"},  // find
    {49, "0700e01c"},  // redo
    {50, "0700e01d"},  // undo
    {51, "0700e004"},  // select all
};
constexpr KeyFunction kGun[] = {
    {53, "08000100"},  // preset 1
    {54, "08000200"},  // preset 2
    {55, "08000300"},  // preset 3
};

template <std::size_t N>
constexpr KeyFunctionRange rangeOf(const KeyFunction (&rows)[N])
{
    return {rows, N};
}

} // namespace

KeyFunctionRange keyFunctions(KeyFunctionGroup group)
{
    switch (group) {
    case KeyFunctionGroup::Mouse: return rangeOf(kMouse);
    case KeyFunctionGroup::Media: return rangeOf(kMedia);
    case KeyFunctionGroup::Dpi: return rangeOf(kDpi);
    case KeyFunctionGroup::Windows: return rangeOf(kWindows);
    case KeyFunctionGroup::Shortcut: return rangeOf(kShortcut);
    case KeyFunctionGroup::Gun: return rangeOf(kGun);
    }
    return {nullptr, 0};
}

KeyFunctionCatalogue::KeyFunctionCatalogue(QObject* parent)
    : QObject(parent)
{
}

QVariantList KeyFunctionCatalogue::options(KeyFunctionGroup group)
{
    QVariantList list;
    for (const KeyFunction& f : keyFunctions(group))
        list.append(QVariantMap{{QStringLiteral("lang"), f.lang}, {QStringLiteral("code"), QString::fromLatin1(f.code)}});
    return list;
}
