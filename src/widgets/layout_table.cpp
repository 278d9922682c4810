#include "layout_table.h"

#include "controls.h"
#include "twips.h"

#include <QCheckBox>

#include <algorithm>
#include <stdexcept>
#include <vector>

Controls::Controls(QWidget* window, std::span<const ControlRow> table,
                   const std::map<std::string, ControlMaker>& makers) {
    QWidget* lastLabel = nullptr;
    std::vector<const ControlRow*> chain;
    for (const ControlRow& row : table) {
        QWidget* control = Make(window, row, makers, lastLabel);
        byName_[row.name] = control;
        lastLabel = row.kind == ControlKind::Label ? control : nullptr;
        if (row.width > 0)
            Place(control, row.left, row.top, row.width, row.height);
        else
            PlaceAt(control, row.left, row.top);
        if (row.tip != nullptr)
            control->setToolTip(QString::fromUtf8(row.tip));
        control->setEnabled(row.enabled);
        if (row.tab > 0)
            chain.push_back(&row);
    }
    std::stable_sort(chain.begin(), chain.end(),
                     [](const ControlRow* a, const ControlRow* b) { return a->tab < b->tab; });
    for (size_t k = 1; k < chain.size(); ++k)
        QWidget::setTabOrder(At(chain[k - 1]->name), At(chain[k]->name));
}

QWidget* Controls::At(const char* name) const {
    const auto found = byName_.find(name);
    if (found == byName_.end())
        throw std::logic_error(std::string("no control ") + name);
    return found->second;
}

QWidget* Controls::Make(QWidget* window, const ControlRow& row,
                        const std::map<std::string, ControlMaker>& makers, QWidget* lastLabel) {
    QWidget* parent = row.parent != nullptr ? At(row.parent) : window;
    const char* caption = row.caption != nullptr ? row.caption : "";
    auto* label = qobject_cast<QLabel*>(lastLabel);
    switch (row.kind) {
    case ControlKind::Frame:
        return MakeFrame(parent, row.name, caption);
    case ControlKind::Label:
        return MakeLabel(parent, row.name, caption);
    case ControlKind::Box:
        return MakeBox(parent, row.name, caption, label);
    case ControlKind::LockedBox: {
        QLineEdit* box = MakeLockedBox(parent, row.name, label);
        box->setText(QString::fromUtf8(caption));
        return box;
    }
    case ControlKind::Button:
        return MakeButton(parent, row.name, caption);
    case ControlKind::CheckBox:
        return Named(new QCheckBox(QString::fromUtf8(caption), parent), row.name);
    case ControlKind::Made:
        break;
    }
    const auto maker = makers.find(row.name);
    if (maker == makers.end())
        throw std::logic_error(std::string("no maker for control ") + row.name);
    return Named(maker->second(parent), row.name);
}
