// A label for long paths: it keeps the whole text but draws it shortened in the middle when room runs out.
#pragma once

#include <QLabel>

namespace qm {

class PathLabel : public QLabel {
    Q_OBJECT
public:
    explicit PathLabel(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace qm
