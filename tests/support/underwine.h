// Whether a test runs under Wine, for the few answers where Wine differs from Windows' documentation:
// the documented answer is expected elsewhere, Wine's (named as such) under Wine, as Wine marks its own.
#pragma once

bool UnderWine();
