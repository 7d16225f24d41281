#pragma once

#include <QWidget>

namespace brevane {

// A groove between toolbar buttons: grey on its top and left edges, white on
// its bottom and right. Screen readers meet it as a separator, not a button.
class ToolbarDivider : public QWidget
{
    Q_OBJECT

public:
    explicit ToolbarDivider(QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(ToolbarDivider)

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace brevane
