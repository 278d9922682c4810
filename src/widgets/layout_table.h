#pragma once

// A window's controls as data: one row per control, made and placed in the
// order of the table, in twips. Reading a window's table is reading its
// layout; the tab chain follows from the rows' tab places.

#include <QString>
#include <QWidget>

#include <functional>
#include <map>
#include <span>
#include <stdexcept>
#include <string>

// What a row makes. `Made` rows are made by the window's own maker for that
// name (a spinner with its range, a picture, a table of its own kind), at
// their turn in the table and on their parent, as the others are.
enum class ControlKind {
    Frame,
    Label,
    Box,       // a text box; a label just before it in the table names it
    LockedBox, // the same, read-only
    Button,
    CheckBox,
    Made,
};

struct ControlRow {
    const char* name; // the object name, by which tests and tools find it
    ControlKind kind;
    const char* parent;  // the frame it sits in; nullptr for the window
    const char* caption; // a label's, button's or frame's text, a box's first text
    int left, top;       // twips within the parent
    int width, height;   // twips; a width of 0 sizes a label to its text
    int tab = 0;         // place in the tab chain from 1; 0 leaves it out
    const char* tip = nullptr;
    bool enabled = true;
};

// Makes a control of kind Made on the parent given.
using ControlMaker = std::function<QWidget*(QWidget* parent)>;

// The controls a table made, by object name.
class Controls {
public:
    // Makes the controls of `table` on `window`; `makers` make those of kind
    // Made, by name.
    Controls(QWidget* window, std::span<const ControlRow> table,
             const std::map<std::string, ControlMaker>& makers = {});

    // The control of that name and type; a name not in the table or of
    // another type is a fault of the window's code, so it throws.
    template <class T> T* Get(const char* name) const {
        auto* control = qobject_cast<T*>(At(name));
        if (control == nullptr)
            throw std::logic_error(std::string("no control ") + name + " of that kind");
        return control;
    }

private:
    QWidget* At(const char* name) const;
    QWidget* Make(QWidget* window, const ControlRow& row,
                  const std::map<std::string, ControlMaker>& makers, QWidget* lastLabel);

    std::map<std::string, QWidget*> byName_;
};
