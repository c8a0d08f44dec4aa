#pragma once
// The print preview window: one page image stretched over its whole inner area, repainted by itself
// when it was covered. Loaded hidden by the review window; shown by the end of a printout.
#include "platform/ui/Form.h"

#include <QImage>

class Form_LCS_preview : public ui::Form {
public:
    static Form_LCS_preview& Instance() { return ui::Instance_Of<Form_LCS_preview>(); }
    Form_LCS_preview();

    // No page: the window shows its background.
    void Clear_Page();
    void Show_Page(const QImage& page);
    const QImage& Page() const { return page_; }

protected:
    void Form_Load() override;
    void paintEvent(QPaintEvent* event) override;

private:
    QImage page_;
};
