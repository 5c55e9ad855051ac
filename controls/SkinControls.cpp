#include "controls/SkinControls.h"

#include "controls/Autobtn.h"
#include "controls/Gauges.h"
#include "controls/Lmdlabel.h"
#include "controls/Spin.h"
#include "controls/filedrag.h"

void RegisterSkinControls()
{
    RegisterAutobtn();
    RegisterGauges();
    RegisterFiledrag();
    RegisterLmdlabel();
    RegisterSpin();
}
