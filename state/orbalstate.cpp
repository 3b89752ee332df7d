#include "state/orbalstate.h"

OrbalState &orbalState()
{
    static OrbalState state;
    return state;
}
