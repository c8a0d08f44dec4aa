#include "Frm_results.h"

#include "Export_panel.h"
#include "platform/ui/Picture_box.h"
#include "platform/ui/Screen.h"

#include <QFont>
#include <QLabel>

namespace {

constexpr int32_t Inner_Height = 12645;
constexpr int32_t Inner_Width = 4335;
constexpr int32_t Row_Top = 2400;
constexpr int32_t Row_Height = 375;

QRect Twips(int32_t left, int32_t top, int32_t width, int32_t height) {
    const int32_t x = ui::Twips_Per_Pixel_X(), y = ui::Twips_Per_Pixel_Y();
    return {left / x, top / y, width / x, height / y};
}

QLabel* Label(QWidget* parent, const char* family, double points, bool bold, QRect where) {
    auto* label = new QLabel(parent);
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    label->setFont(font);
    label->setGeometry(where);
    return label;
}

QLabel* Row_Label(QWidget* parent, int32_t left, int32_t width, int row, const char* colour) {
    QLabel* label = Label(parent, "MS Sans Serif", 12, true, Twips(left, Row_Top + Row_Height * row, width, Row_Height));
    label->setFrameShape(QFrame::Box);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setStyleSheet(QString("color: ") + colour);
    return label;
}

}  // namespace

Frm_results::Frm_results() : ui::Form("Frm_results") {
    Set_Caption("Vantorel Results");
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    lbl_event_name = Label(this, "Microsoft Sans Serif", 12, true, Twips(0, 120, 4215, 375));
    LBL_XID = Label(this, "MS Sans Serif", 12, true, Twips(0, 720, 1335, 255));
    LBL_XID->setText("Heat ID:");
    Lbl_heat = Label(this, "Microsoft Sans Serif", 24, false, Twips(0, 1080, 2055, 520));
    Lbl_heat->setStyleSheet("color: blue");
    Lbl_heat->setFrameShape(QFrame::Box);
    lbl_result_header = Label(this, "MS Sans Serif", 12, true, Twips(0, 2040, 3855, 375));
    lbl_result_header->setText("      Lane           Time        Delta");
    QFont underlined = lbl_result_header->font();
    underlined.setUnderline(true);
    lbl_result_header->setFont(underlined);
    for (int row = 0; row < 12; ++row) {
        Lbl_result_rank.Load(row, Row_Label(this, 0, 375, row, "black"));
        Lbl_result_lane.Load(row, Row_Label(this, 480, 495, row, "blue"));
        Lbl_result_time.Load(row, Row_Label(this, 1080, 1335, row, "blue"));
        Lbl_result_delta_time.Load(row, Row_Label(this, 2520, 1170, row, "rgb(192, 0, 0)"));
    }
    Lbl_capture_time = new QLabel(this);
    Lbl_capture_time->hide();
    Pict_temp = new ui::Picture_box(this);
    Pict_temp->hide();
    Label_not_built = Label(this, "MS Sans Serif", 9, false, Twips(0, 7080, 2295, 1500));
    Label_not_built->setWordWrap(true);
    Label_not_built->setText("Start correction and printing are not built yet.");
    Export = std::make_unique<Export_panel>(*this);
    setFixedSize(Twips(0, 0, Inner_Width, Inner_Height).size());
}

Frm_results::~Frm_results() = default;

void Frm_results::Form_Load() {
    Clear_Results();
    Export->Load(Inner_Width);
}

void Frm_results::Clear_Results() {
    for (auto* array : {&Lbl_result_rank, &Lbl_result_lane, &Lbl_result_time, &Lbl_result_delta_time})
        for (auto& [index, label] : *array) label->clear();
    Lbl_capture_time->clear();
}
