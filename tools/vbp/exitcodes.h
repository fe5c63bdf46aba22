#ifndef EXITCODES_H
#define EXITCODES_H

// Exit codes of the vbp program besides the package reader's own codes,
// which info and cat pass on unchanged (0 success, 1..10, -1).
enum VbpExitCode
{
    ExitSuccess = 0,
    ExitFailure = 1,
    // Far from the reader's codes, so a typo never looks like a broken package.
    ExitUsage = 64
};

#endif // EXITCODES_H
