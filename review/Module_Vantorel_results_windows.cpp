#include "Module_Vantorel_results_windows.h"

#include "Frm_kanot_2.h"
#include "Module_Vantorel_results.h"
#include "platform/vb/Error_trap.h"
#include "shell/Module_Vantorel.h"

namespace Module_Vantorel {

void Clear_All_Results() {
    vb::Trap(Is_Compiled, "Clear_All_Results of Module Module_Vantorel", [] {
        Frm_kanot_2& review = Frm_kanot_2::Instance();
        Clear_All_Results(review.Replay_File);
        review.Complete_Result_Array();
    });
}

}  // namespace Module_Vantorel
