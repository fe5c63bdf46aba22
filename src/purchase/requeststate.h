#ifndef REQUESTSTATE_H
#define REQUESTSTATE_H

// What the download front asks of its adapter.
enum RequestState
{
    ENot = 0,
    ERequ_MustTask = 1,
    ERequ_DLStart = 2,
    ERequ_DLPause = 3,
    ERequ_DLDelete = 4,
    ERequ_DLDelFile = 5,
    ERequ_DLResume = 6,
    ERequ_DLReStart = 7
};

#endif // REQUESTSTATE_H
