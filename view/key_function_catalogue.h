#pragma once
// The functions a mouse button can be given besides a key, a fire key, a key
// combination and a macro: the fixed options of the key-assignment dialog, in
// the groups and the order the dialog shows them. Each option has the index
// of its text in the language section "keyAssigment" and the eight hex digits
// of the four codes the key matrix stores for it.

#include <QObject>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <cstddef>

struct KeyFunction {
    int lang;           // text index in the "keyAssigment" section
    const char* code;   // the four codes, eight hex digits
};

enum class KeyFunctionGroup { Mouse, Media, Dpi, Windows, Shortcut, Gun };

struct KeyFunctionRange {
    const KeyFunction* first;
    std::size_t count;
    const KeyFunction* begin() const { return first; }
    const KeyFunction* end() const { return first + count; }
};

// The options of one group, in the dialog's order.
KeyFunctionRange keyFunctions(KeyFunctionGroup group);

// The catalogue as the pages read it (KeyFunctions.mouse, …): lists of
// { lang, code } in the dialog's order.
class KeyFunctionCatalogue : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(KeyFunctions)
    QML_SINGLETON
    Q_PROPERTY(QVariantList mouse READ mouse CONSTANT)
    Q_PROPERTY(QVariantList media READ media CONSTANT)
    Q_PROPERTY(QVariantList dpi READ dpi CONSTANT)
    Q_PROPERTY(QVariantList windows READ windows CONSTANT)
    Q_PROPERTY(QVariantList shortcut READ shortcut CONSTANT)
    Q_PROPERTY(QVariantList gun READ gun CONSTANT)
public:
    explicit KeyFunctionCatalogue(QObject* parent = nullptr);

    static QVariantList options(KeyFunctionGroup group);

    QVariantList mouse() const { return options(KeyFunctionGroup::Mouse); }
    QVariantList media() const { return options(KeyFunctionGroup::Media); }
    QVariantList dpi() const { return options(KeyFunctionGroup::Dpi); }
    QVariantList windows() const { return options(KeyFunctionGroup::Windows); }
    QVariantList shortcut() const { return options(KeyFunctionGroup::Shortcut); }
    QVariantList gun() const { return options(KeyFunctionGroup::Gun); }
};
