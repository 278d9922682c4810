#pragma once

#include <QWidget>

#include <string>

class QPlainTextEdit;

// The material window with the cut lists. Its text is the user's to edit
// until the next report build replaces it; closing the window only hides it,
// so that the text is still there at the next "Показать".
class MaterialWindow : public QWidget {
    Q_OBJECT
public:
    MaterialWindow();

    void SetText(const std::string& text);

private:
    QPlainTextEdit* cutListsBox_;
};
