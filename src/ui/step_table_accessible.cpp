// SPDX-License-Identifier: MIT
#include "src/ui/step_table_accessible.h"

#include "src/model/motor_labels.h"
#include "src/model/step_line.h"
#include "src/ui/step_table_view.h"

namespace kestrova {

namespace {

constexpr int kColumns = static_cast<int>(kStepCount);
constexpr int kRows = static_cast<int>(kStepLineSize);

// One value of the table; it has no object of its own and asks the table for everything.
class StepCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
  public:
    StepCellAccessible(StepTableAccessible* table, StepTableLayout::Cell cell)
        : tableInterface(table), cell(cell) {}

    bool isValid() const override { return tableInterface->isValid(); }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override { return tableInterface; }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    void setText(QAccessible::Text /*t*/, const QString& /*text*/) override {}
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name || t == QAccessible::Value) {
            return QString::number(view()->valueAt(cell));
        }
        return {};
    }
    QRect rect() const override {
        const QRect local = view()->cellRect(cell);
        return {view()->mapToGlobal(local.topLeft()), local.size()};
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.focusable = true;
        const StepTableLayout::Cell at = view()->cursorCell();
        state.focused = view()->hasFocus() && at.step == cell.step && at.row == cell.row;
        return state;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return cell.step; }
    int rowIndex() const override { return cell.row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return tableInterface; }

  private:
    CStepTableView* view() const { return tableInterface->table(); }

    StepTableAccessible* tableInterface;
    StepTableLayout::Cell cell;
};

QAccessibleInterface* stepTableFactory(const QString& key, QObject* object) {
    auto* table = qobject_cast<CStepTableView*>(object);
    return key == QLatin1String("CStepTableView") && table != nullptr
               ? new StepTableAccessible(table)
               : nullptr;
}

}  // namespace

StepTableAccessible::StepTableAccessible(CStepTableView* table)
    : QAccessibleWidget(table, QAccessible::Table), cellIds(kRows * kColumns, 0) {}

StepTableAccessible::~StepTableAccessible() {
    for (const QAccessible::Id id : cellIds) {
        if (id != 0) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }
}

CStepTableView* StepTableAccessible::table() const {
    return static_cast<CStepTableView*>(widget());
}

void* StepTableAccessible::interface_cast(QAccessible::InterfaceType type) {
    return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this)
                                               : QAccessibleWidget::interface_cast(type);
}

int StepTableAccessible::childCount() const {
    return kRows * kColumns;
}

QAccessibleInterface* StepTableAccessible::child(int index) const {
    return index >= 0 && index < childCount() ? cellAt(index / kColumns, index % kColumns)
                                              : nullptr;
}

int StepTableAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* cell = dynamic_cast<const StepCellAccessible*>(child);
    return cell != nullptr && cell->table() == this
               ? cell->rowIndex() * kColumns + cell->columnIndex()
               : -1;
}

QAccessibleInterface* StepTableAccessible::childAt(int x, int y) const {
    const QRect client = table()->contentsRect();
    const auto cell = StepTableLayout::forClient(client.size())
                          .cellAt(table()->mapFromGlobal(QPoint(x, y)) - client.topLeft());
    return cell ? cellAt(cell->row, cell->step) : nullptr;
}

QAccessibleInterface* StepTableAccessible::focusChild() const {
    const StepTableLayout::Cell at = table()->cursorCell();
    return table()->hasFocus() ? cellAt(at.row, at.step) : nullptr;
}

QAccessibleInterface* StepTableAccessible::cellAt(int row, int column) const {
    if (row < 0 || row >= kRows || column < 0 || column >= kColumns) {
        return nullptr;
    }
    QAccessible::Id& id = cellIds[static_cast<std::size_t>(row * kColumns + column)];
    if (id == 0) {
        auto* self = const_cast<StepTableAccessible*>(this);
        id = QAccessible::registerAccessibleInterface(
            new StepCellAccessible(self, StepTableLayout::Cell{column, row}));
    }
    return QAccessible::accessibleInterface(id);
}

QString StepTableAccessible::columnDescription(int column) const {
    return QStringLiteral("Step %1").arg(column);
}

QString StepTableAccessible::rowDescription(int row) const {
    if (row == StepTableLayout::kAccRow) {
        return QStringLiteral("ACC");
    }
    if (row == StepTableLayout::kRateRow) {
        return QStringLiteral("Rate");
    }
    // A motor the open profile names is read with its label and name: "M5(PB4) left elbow".
    const auto& profile = table()->shownProfile();
    const std::string& name =
        profile ? profile->motors.at(static_cast<std::size_t>(row)).name : std::string();
    if (name.empty()) {
        return QStringLiteral("M%1").arg(row + 1);
    }
    const std::string_view label = kestrova::kMotorLabels.at(static_cast<std::size_t>(row));
    return QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size())) + ' ' +
           QString::fromStdString(name);
}

int StepTableAccessible::columnCount() const {
    return kColumns;
}

int StepTableAccessible::rowCount() const {
    return kRows;
}

void installStepTableAccessible() {
    static const bool installed = [] {
        QAccessible::installFactory(&stepTableFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace kestrova
