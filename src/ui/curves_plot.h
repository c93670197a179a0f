// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <cstddef>
#include <optional>

#include "src/model/page_record.h"
#include "src/ui/curves_geometry.h"
#include "src/ui/curves_labels.h"

namespace kestrova {

// The page as curves, one point per step. A point dragged up or down shows its new value at
// once and is offered as one edit when the button is released; Up and Down move the selected
// point by 1, Page Up and Page Down by 10, Left and Right select its neighbours. A click
// beside the points chooses the column's step. The plot shows its own edits at once and
// offers them (pageEdited); the owner of the page decides, and shows the page again.
class CurvesPlot : public QWidget {
    Q_OBJECT

  public:
    explicit CurvesPlot(QWidget* parent = nullptr);

    // A new page ends a drag under way: the drag's edit would undo what brought the page.
    void showPage(const PageRecord& page, std::size_t step);
    void setChosen(const CurveChoice& choice);
    void setProfile(const OptionalProfile& profile);

    const PageRecord& page() const { return shown; }
    const CurveChoice& chosen() const { return choice; }
    std::size_t chosenStep() const { return step; }
    std::optional<CurvePoint> selectedPoint() const { return selected; }
    void selectPoint(std::optional<CurvePoint> point);

    QSize sizeHint() const override { return {500, 440}; }

  signals:
    // A finished change of the page, one undo step named `label`.
    void pageEdited(const kestrova::PageRecord& page, const QString& label);
    // The page as it looks while a point is being dragged; nothing is decided yet.
    void previewed(const kestrova::PageRecord& page);
    void stepChosen(int step);
    // "M5(PB4), step 3: 120" for the point under the pointer; empty off the points.
    void hovered(const QString& text);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void hover(QPoint at);
    void drag(int y);
    void moveSelected(int by);
    void selectNeighbour(int by);
    void describe(const std::optional<CurvePoint>& point);
    int valueOf(const CurvePoint& point) const;

    PageRecord shown = defaultPageRecord();
    std::optional<PageRecord> dragOrigin;  // the page before the drag, while one is under way
    std::size_t step = 0;
    CurveChoice choice{};
    OptionalProfile profile;
    std::optional<CurvePoint> selected;
};

}  // namespace kestrova
