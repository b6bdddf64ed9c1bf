#pragma once
// "水准网检查与平差": the M5 files of a levelling network, the tolerance
// profile, the known heights, the further benchmarks and the weights.

#include <QDialog>
#include <QString>

#include "app/command_context.h"
#include "levelling/network/level_network_options.h"

class QComboBox;
class QFormLayout;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tarvosen::ui {

class LevelNetworkDialog : public QDialog {
    Q_OBJECT
  public:
    explicit LevelNetworkDialog(QWidget* parent = nullptr);

    // Shows the dialog modally with the stored options; on OK the choices
    // go into ctx.options.get<LevelNetworkOptions>(). OK refuses a file that
    // does not exist or cannot be read: it marks it and the dialog stays open.
    bool run(CommandContext& ctx);

    // For tests: the controls as the user sees them.
    QListWidget* fileList() const { return files_; }
    QComboBox* profileBox() const { return profile_; }
    QLineEdit* knownHeightsField() const { return knownHeights_; }
    QLineEdit* benchmarksField() const { return benchmarks_; }
    QComboBox* weightsBox() const { return weights_; }

  private:
    void acceptChecked();
    // The refusal of a file that is not there or cannot be read.
    QString cannotRead(const QString& name) const;
    // Sets the texts in the command's language from the catalogue.
    void localise(const CommandContext& ctx);
    void addFiles();
    void showOptions(const LevelNetworkOptions& options);
    void takeOptions(LevelNetworkOptions& options) const;

    QListWidget* files_;
    QComboBox* profile_;
    QLineEdit* knownHeights_;
    QLineEdit* benchmarks_;
    QComboBox* weights_;
    QPushButton *add_, *remove_;
    QFormLayout* form_;
    QWidget *profileRow_, *knownHeightsRow_, *benchmarksRow_;
    QString cannotReadText_ = "文件不存在或无法读取：%1";
};

}  // namespace tarvosen::ui
