#include "toolkit/graphics/Object.h"

#include "toolkit/graphics/Exceptions.h"

void TPersistent::Assign(const TPersistent& source)
{
    throw EConvertError(FormatText("Cannot assign a %s to a %s", source.ClassName(), ClassName()));
}
