// The target-program dialog: which sibling program the database files are
// for, and the folder where it is installed.
#pragma once

#include <vector>

#include "app/desktop_session.h"
#include "gui/setup_dialog.h"

namespace tarnvale::gui {

class AskforQuelbyProgram final : public SetupDialog {
 public:
  explicit AskforQuelbyProgram(MessagePresenter& presenter, QWidget* parent = nullptr);

  // What the next openings show (the last answer, remembered).
  void Prefill(TargetProgramChoice choice, const QString& folder);
  // The programs found installed, listed under the dialog at its next
  // opening; choosing one fills in its choice and folder.
  void OfferFound(const std::vector<FoundProgram>& found);
  // The choice of the last accepted answer.
  TargetProgramChoice Choice() const;

 protected:
  DialogAnswer Answer() const override;
  std::filesystem::path TypedFolder() const override;
  void showEvent(QShowEvent* event) override;

 private:
  std::vector<FoundItem> offered_;
};

// The program as the dialog names it ("Scopel v5.0 (For FS2002/2004)");
// empty for None.
QString TargetProgramText(TargetProgramChoice choice);

}  // namespace tarnvale::gui
