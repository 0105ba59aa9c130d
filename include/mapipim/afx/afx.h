// The host framework classes the library uses, for builds without MFC.
#pragma once
