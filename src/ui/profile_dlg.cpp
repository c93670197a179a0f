// SPDX-License-Identifier: MIT
#include "src/ui/profile_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <nlohmann/json.hpp>

#include "src/model/motor_labels.h"
#include "src/profile/profile_file.h"
#include "src/ui/qt_text.h"

using kestrova::kMotorCount;

namespace {

// The line of motor 1 in the text edited() hands to the reader.
constexpr int kFirstMotorLine = 5;

// A digit that would take the number past the top is refused as it is typed; QIntValidator
// alone lets "250" stand as unfinished input below a top of 200.
class TopValidator : public QIntValidator {
  public:
    TopValidator(int top, QObject* parent) : QIntValidator(0, top, parent) {}
    State validate(QString& text, int& position) const override {
        const State state = QIntValidator::validate(text, position);
        return state == Intermediate && !text.isEmpty() && text.toInt() > top() ? Invalid : state;
    }
};

// Numbers only, within the column's range: a position or a partner's motor number.
class NumberDelegate : public QStyledItemDelegate {
  public:
    NumberDelegate(int high, QObject* parent) : QStyledItemDelegate(parent), high(high) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            edit->setValidator(new TopValidator(high, edit));
        }
        return editor;
    }

  private:
    int high;
};

std::string quoted(const QString& text) {
    return nlohmann::json(text.toStdString())
        .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

QTableWidgetItem* textItem(const QString& text, bool editable = true) {
    auto* item = new QTableWidgetItem(text);
    if (!editable) {
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    }
    return item;
}

}  // namespace

CProfileDlg::CProfileDlg(const kestrova::RobotProfile& profile, Save save, Refuse refuse,
                         QWidget* parent)
    : QDialog(parent), save(std::move(save)), refuse(std::move(refuse)) {
    setWindowTitle(QStringLiteral("Edit Profile"));
    name = new QLineEdit(QString::fromStdString(profile.name), this);
    name->setAccessibleName(QStringLiteral("Profile name"));
    rows = new QTableWidget(static_cast<int>(kMotorCount), ColumnCount, this);
    rows->setHorizontalHeaderLabels(
        {"Label", "Name", "Group", "Side", "Min", "Home", "Max", "Partner", "Invert"});
    rows->verticalHeader()->hide();
    for (const int column : {Min, Home, Max}) {
        rows->setItemDelegateForColumn(column, new NumberDelegate(kestrova::kMaxPosition, rows));
    }
    rows->setItemDelegateForColumn(Partner,
                                   new NumberDelegate(static_cast<int>(kMotorCount), rows));
    for (int row = 0; row < rows->rowCount(); ++row) {
        fillRow(row, profile.motors[static_cast<std::size_t>(row)]);
    }
    rows->resizeColumnsToContents();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Close, this);
    QPushButton* saveAs =
        buttons->addButton(QStringLiteral("Save &As..."), QDialogButtonBox::ActionRole);
    connect(buttons->button(QDialogButtonBox::Save), &QPushButton::clicked, this,
            [this] { onSave(false); });
    connect(saveAs, &QPushButton::clicked, this, [this] { onSave(true); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Profile name:"), name);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(rows);
    layout->addWidget(buttons);
    resize(760, 560);
}

void CProfileDlg::fillRow(int row, const kestrova::MotorProfile& motor) {
    const auto m = static_cast<std::size_t>(row);
    rows->setItem(row, Label, textItem(kestrova::toQString(kestrova::kMotorLabels[m]), false));
    rows->setItem(row, Name, textItem(QString::fromStdString(motor.name)));
    rows->setItem(row, Group, textItem(QString::fromStdString(motor.group)));
    auto* side = new QComboBox(rows);
    for (const std::string_view sideName : kestrova::kSideNames) {
        side->addItem(kestrova::toQString(sideName));
    }
    side->setCurrentIndex(static_cast<int>(motor.side));
    rows->setCellWidget(row, SideColumn, side);
    rows->setItem(row, Min, textItem(QString::number(motor.min)));
    rows->setItem(row, Home, textItem(QString::number(motor.home)));
    rows->setItem(row, Max, textItem(QString::number(motor.max)));
    rows->setItem(row, Partner,
                  textItem(motor.partner ? QString::number(*motor.partner + 1) : QString()));
    auto* invert = textItem(QString(), false);
    invert->setFlags(invert->flags() | Qt::ItemIsUserCheckable);
    invert->setCheckState(motor.invert ? Qt::Checked : Qt::Unchecked);
    rows->setItem(row, Invert, invert);
}

// The row as the profile file writes a motor; an emptied number takes the file's default.
std::string CProfileDlg::rowText(int row) const {
    const auto cell = [this, row](int column) { return rows->item(row, column)->text(); };
    std::string text =
        "{\"motor\": " + std::to_string(row + 1) + ", \"name\": " + quoted(cell(Name)) +
        ", \"group\": " + quoted(cell(Group)) + ", \"side\": " +
        quoted(qobject_cast<QComboBox*>(rows->cellWidget(row, SideColumn))->currentText());
    for (const auto& [column, key] : {std::pair{Min, "min"}, {Home, "home"}, {Max, "max"}}) {
        if (!cell(column).isEmpty()) {
            text += ", \"" + std::string(key) + "\": " + std::to_string(cell(column).toInt());
        }
    }
    const QString partner = cell(Partner);
    text += ", \"partner\": " + (partner.isEmpty() ? "null" : std::to_string(partner.toInt()));
    const bool inverted = rows->item(row, Invert)->checkState() == Qt::Checked;
    return text + ", \"invert\": " + (inverted ? "true" : "false") + "}";
}

std::optional<kestrova::RobotProfile> CProfileDlg::edited() const {
    std::string text = "{\n\"version\": " + std::to_string(kestrova::kProfileFormatVersion) +
                       ",\n\"name\": " + quoted(name->text()) + ",\n\"motors\": [\n";
    for (int row = 0; row < rows->rowCount(); ++row) {
        text += rowText(row) + (row + 1 < rows->rowCount() ? ",\n" : "\n");
    }
    kestrova::ReadProfile read = kestrova::parseProfile(text + "]\n}\n");
    if (!read.profile) {
        const int motor = read.line - kFirstMotorLine + 1;
        const bool inRow = motor >= 1 && motor <= static_cast<int>(kMotorCount);
        refuse((inRow ? kestrova::toQString(kestrova::kMotorLabels[std::size_t(motor - 1)]) + ": "
                      : QString()) +
               QString::fromStdString(read.problem));
    }
    return std::move(read.profile);
}

void CProfileDlg::onSave(bool saveAs) {
    if (const std::optional<kestrova::RobotProfile> profile = edited()) {
        save(*profile, saveAs);
    }
}
