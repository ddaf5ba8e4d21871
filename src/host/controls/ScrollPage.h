#pragma once

#include <QScrollArea>

// A page of fields that scrolls when the window is smaller than the page, and brings the field
// that takes the focus into view however it got it (Tab, Enter, an access key, the form).
class ScrollPage : public QScrollArea {
    Q_OBJECT
public:
    explicit ScrollPage(QWidget* content, QWidget* parent = nullptr);
};
