// The Qt main window: its controls, menu and icon, the Create and Cancel buttons, and halting the
// run when it closes.

#include "gui/tarnvale_dlg.h"

#include <QActionGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>

#include <utility>

#include "app/desktop_session.h"
#include "app/report_archive.h"
#include "app/scenery_manifest.h"
#include "gui/about_program.h"
#include "gui/elided_text.h"
#include "gui/report_dialog.h"

namespace tarnvale::gui {
namespace {

constexpr int kClientWidth = 287;
constexpr int kClientHeight = 167;
// The last run's box beneath the buttons, shown once there is one.
constexpr int kLastRunTop = 162;
constexpr int kLastRunLineHeight = 8;
// The box around `lines` lines of text.
constexpr int LastRunHeight(std::size_t lines) {
  return 14 + kLastRunLineHeight * static_cast<int>(lines);
}

// Each line of `lines` shortened at its end to `width` pixels; the tooltip
// has them whole.
void SetLines(QLabel* label, const std::vector<std::string>& lines, int width) {
  QStringList shown;
  QStringList whole;
  for (const std::string& line : lines) {
    whole << ToQString(line);
    shown << label->fontMetrics().elidedText(whole.back(), Qt::ElideRight, width);
  }
  label->setText(shown.join(QLatin1Char('\n')));
  label->setToolTip(whole.join(QLatin1Char('\n')));
}

// A runway seen from above inside a compass ring.
QPixmap IconPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 32.0, size / 32.0);
  painter.setPen(QPen(QColor(20, 60, 120), 2));
  painter.setBrush(QColor(200, 225, 250));
  painter.drawEllipse(QRectF(2, 2, 28, 28));
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(60, 60, 60));
  painter.drawRect(QRectF(13, 6, 6, 20));
  painter.setBrush(Qt::white);
  painter.drawRect(QRectF(15.5, 9, 1, 4));
  painter.drawRect(QRectF(15.5, 15, 1, 4));
  painter.drawRect(QRectF(15.5, 21, 1, 3));
  return pixmap;
}

}  // namespace

QIcon ApplicationIcon() {
  QIcon icon;
  icon.addPixmap(IconPixmap(16));
  icon.addPixmap(IconPixmap(32));
  return icon;
}

TarnvaleDlg::TarnvaleDlg(ProgramState& state, MessagePresenter& presenter, QWidget* parent)
    : FixedDialog(QStringLiteral("Tarnvale v1.0"), {kClientWidth, kClientHeight}, parent),
      state_(state),
      about_(new About_Program(this)),
      presenter_(presenter),
      widget_view_(
          AddControls(), presenter, [this] { CloseWindow(); },
          [this](const RunSummary& summary) { ShowLastRun(summary); }),
      queued_view_(this, widget_view_, state.worker),
      run_view_(&queued_view_) {
  setWindowIcon(ApplicationIcon());
  AddLastRunBox();
  FinishLayout(AddMenu());
  last_run_group_->hide();
  last_run_text_->hide();
}

TarnvaleDlg::~TarnvaleDlg() {
  if (!closing_) StopRun();
}

RunControls TarnvaleDlg::AddControls() {
  AddText(QStringLiteral(
              "This program will read all your FS2002/2004's stock sceneries, for then create "
              "databases files, that are required by programs, like: Brisolt and Scopel. "
              "Press the CREATE DATABASES FILES, button, when you are ready to continue."),
          7, 7, 271, 32);
  AddText(QStringLiteral(
              "NOTE: If your FS2002/2004 is running, please close it, before making databases "
              "files."),
          7, 45, 270, 8);
  program_line_ = AddSetupLine("ProgramLine", 56);
  simulator_line_ = AddSetupLine("SimulatorLine", 65);
  AddGroupBox(QStringLiteral("Status"), 7, 79, 271, 53);

  RunControls controls;
  controls.window = this;
  controls.status_field = new QLineEdit(Client());
  controls.status_field->setObjectName(QStringLiteral("StatusField"));
  controls.status_field->setReadOnly(true);
  controls.status_field->setAlignment(Qt::AlignCenter);
  controls.status_field->setFocusPolicy(Qt::NoFocus);
  Layout().Place(controls.status_field, 51, 92, 181, 12);

  controls.progress_bar = new QProgressBar(Client());
  controls.progress_bar->setObjectName(QStringLiteral("ProgressBar"));
  controls.progress_bar->setTextVisible(false);
  controls.progress_bar->setRange(0, 100);
  controls.progress_bar->setValue(0);
  Layout().Place(controls.progress_bar, 13, 110, 259, 11);

  controls.create_button = AddButton(QStringLiteral("Create Databases Files"), 73, 138, 98, 18);
  controls.create_button->setObjectName(QStringLiteral("CreateButton"));
  connect(controls.create_button, &QPushButton::clicked, this, [this] { OnCreate(); });
  controls.cancel_button = AddButton(QStringLiteral("Cancel Database Creation"), 181, 139, 97, 18);
  controls.cancel_button->setObjectName(QStringLiteral("CancelButton"));
  controls.cancel_button->setEnabled(false);
  connect(controls.cancel_button, &QPushButton::clicked, this, [this] { OnCancel(); });
  return controls;
}

ElidedLabel* TarnvaleDlg::AddSetupLine(const char* name, int y) {
  auto* line = new ElidedLabel(Client());
  line->setObjectName(QString::fromLatin1(name));
  Layout().Place(line, 7, y, 271, 8);
  return line;
}

void TarnvaleDlg::AddLastRunBox() {
  last_run_group_ = AddGroupBox(QStringLiteral("Last run"), 7, kLastRunTop, 271, LastRunHeight(4));
  last_run_text_ = new QLabel(Client());
  last_run_text_->setObjectName(QStringLiteral("LastRunText"));
  last_run_text_->setTextFormat(Qt::PlainText);
  Layout().Place(last_run_text_, 13, kLastRunTop + 10, 259, LastRunHeight(4) - 13);
}

QMenuBar* TarnvaleDlg::AddMenu() {
  auto* menu = new QMenuBar(this);
  QMenu* file = menu->addMenu(QStringLiteral("File"));
  change_action_ = file->addAction(QStringLiteral("Change Program or Simulator..."), this,
                                   [this] { OnChangeSetup(); });
  AddCodePageMenu(file);
  last_report_action_ =
      file->addAction(QStringLiteral("Show Last Report"), this, [this] { OnShowLastReport(); });
  last_report_action_->setEnabled(false);
  file->addAction(QStringLiteral("Exit"), this, [this] { CloseWindow(); });
  // Offered only while the window waits for "Create Databases Files".
  connect(file, &QMenu::aboutToShow, this, [this] {
    const bool idle = CanChangeSetup(state_);
    change_action_->setEnabled(change_setup_ && idle);
    code_page_menu_->setEnabled(choose_code_page_ && idle);
    for (QAction* action : code_page_menu_->actions()) {
      action->setChecked(action->data().toInt() == static_cast<int>(platform::ActiveCodePage()));
    }
  });
  menu->addMenu(QStringLiteral("Help"))
      ->addAction(QStringLiteral("About Tarnvale v1.0"), this, [this] { about_->exec(); });
  return menu;
}

// The code page Scenery.cfg and Program_Config.cfg are read in, as the
// command line's --code-page chooses it.
void TarnvaleDlg::AddCodePageMenu(QMenu* file) {
  code_page_menu_ = file->addMenu(QStringLiteral("Code Page"));
  auto* pages = new QActionGroup(code_page_menu_);
  for (const CodePageItem& item : CodePageItems()) {
    QAction* action = code_page_menu_->addAction(ToQString(item.label), this, [this, item] {
      if (choose_code_page_ && CanChangeSetup(state_)) choose_code_page_(item.code_page);
    });
    action->setCheckable(true);
    action->setData(static_cast<int>(item.code_page));
    pages->addAction(action);
  }
}

void TarnvaleDlg::ShowLastRun(const RunSummary& summary) {
  last_run_ = summary;
  scenery_notice_.clear();
  ShowLastRunBox();
}

void TarnvaleDlg::ShowLastRunBox() {
  const std::vector<std::string> lines = LastRunBoxLines(last_run_, scenery_notice_);
  last_report_action_->setEnabled(last_run_.has_value());
  last_run_group_->setVisible(!lines.empty());
  last_run_text_->setVisible(!lines.empty());
  if (lines.empty()) {
    SetClientHeight(kClientHeight);
    return;
  }
  const int height = LastRunHeight(lines.size());
  Layout().Move(last_run_group_, 7, kLastRunTop, 271, height);
  Layout().Move(last_run_text_, 13, kLastRunTop + 10, 259, height - 13);
  SetLines(last_run_text_, lines, last_run_text_->width());
  SetClientHeight(kLastRunTop + height + 7);
}

void TarnvaleDlg::OnShowLastReport() {
  if (!last_run_) return;
  ReportDialog report(ToQString(RunDetailsText(*last_run_)), presenter_, this);
  report.exec();
}

void TarnvaleDlg::reject() { CloseWindow(); }

void TarnvaleDlg::showEvent(QShowEvent* event) {
  ShowSetup();
  FixedDialog::showEvent(event);
}

void TarnvaleDlg::ShowSetup() {
  for (const auto& [label, line] : {std::pair(program_line_, ProgramLine(state_)),
                                    std::pair(simulator_line_, SimulatorLine(state_))}) {
    label->SetFullText(ToQString(line.head), ToQString(line.rest));
  }
  // The run shown is kept while the window serves its folder.
  if (last_run_ && last_run_->scan.target == state_.TargetFolder) return;
  last_run_ = LastKeptRun(state_.report_archive, state_.TargetFolder);
  scenery_notice_ = SceneryChangeNotice(state_);
  ShowLastRunBox();
}

void TarnvaleDlg::OnChangeSetup() {
  if (!change_setup_ || !CanChangeSetup(state_)) return;
  if (change_setup_()) ShowSetup();
}

// A refused start has shown its message and left the window as it was.
void TarnvaleDlg::OnCreate() { static_cast<void>(StartCreationRun(state_, *run_view_)); }

void TarnvaleDlg::OnCancel() { RequestCancel(state_, queued_view_); }

void TarnvaleDlg::CloseWindow() {
  if (closing_) return;
  StopRun();
  done(QDialog::Rejected);
}

// What the worker still had on its way to the window is dropped: the run is
// halted where it stands, drops what it staged and leaves the old set whole.
void TarnvaleDlg::StopRun() {
  closing_ = true;
  queued_view_.DropPendingCalls();
  HaltForClose(state_, queued_view_);
}

}  // namespace tarnvale::gui
