// SPDX-License-Identifier: MIT
#pragma once

#include <QAccessibleWidget>
#include <vector>

class CStepTableView;

namespace kestrova {

// The step table as a screen reader walks it: 24 rows (M1 to M22, ACC, Rate) by 8 columns
// (Step 0 to Step 7), each cell read from the table when asked, so it always tells the page
// the table shows. Cells are made on first use and live as long as the table's interface.
class StepTableAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
  public:
    explicit StepTableAccessible(CStepTableView* table);
    ~StepTableAccessible() override;

    void* interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int /*column*/) const override { return false; }
    bool isRowSelected(int /*row*/) const override { return false; }
    bool selectRow(int /*row*/) override { return false; }
    bool selectColumn(int /*column*/) override { return false; }
    bool unselectRow(int /*row*/) override { return false; }
    bool unselectColumn(int /*column*/) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* /*event*/) override {}

    CStepTableView* table() const;

  private:
    mutable std::vector<QAccessible::Id> cellIds;  // 0 where not made yet
};

// Lets QAccessible find the step table's interface; installing twice is harmless.
void installStepTableAccessible();

}  // namespace kestrova
