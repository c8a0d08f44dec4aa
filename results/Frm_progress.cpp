#include "Frm_progress.h"

#include "platform/ui/Screen.h"

#include <QFont>
#include <QLineEdit>
#include <QProgressBar>

#include <cmath>

namespace {
int Px_X(int32_t twips) { return twips / ui::Twips_Per_Pixel_X(); }
int Px_Y(int32_t twips) { return twips / ui::Twips_Per_Pixel_Y(); }
}  // namespace

Frm_progress::Frm_progress() : ui::Form("Frm_progress") {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setStyleSheet("Frm_progress { background-color: rgb(255, 255, 192); }");
    setAttribute(Qt::WA_StyledBackground, true);
    resize(Px_X(4035), Px_Y(1530));
    Text_caption = new QLineEdit(this);
    Text_caption->setReadOnly(true);
    Text_caption->setFrame(false);
    QFont font("MS Sans Serif");
    font.setPointSizeF(13.5);
    font.setBold(true);
    Text_caption->setFont(font);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
}

void Frm_progress::Form_Load() {
    ProgressBar1->setGeometry(Px_X(240), Px_Y(840), Px_X(2615), Px_Y(375));
    Form_Resize();
}

void Frm_progress::Form_Resize() {
    const int32_t width = Scale_Width();
    const int32_t bar = static_cast<int32_t>(std::lround(0.7 * width));
    ProgressBar1->setGeometry(Px_X((width - bar) / 3), ProgressBar1->y(), Px_X(bar), ProgressBar1->height());
    Text_caption->setGeometry(Px_X(20), Px_Y(120), Px_X(width - 40), Px_Y(600));
}

void Frm_progress::Set_Caption(const std::string& text) {
    Text_caption->setText(QString::fromStdString(text));
    Text_caption->repaint();
    repaint();
}

void Frm_progress::Set_Percent(int16_t percent) {
    if (percent < ProgressBar1->minimum() || percent > ProgressBar1->maximum()) return;
    ProgressBar1->setValue(percent);
    repaint();
}
