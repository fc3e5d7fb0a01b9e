#pragma once
#include "common/version.h"  // each program's version and caption
// Our web site, for both programs: the home page, the help page and the forum
// all live on this host. Macros as well, so that addresses can be written as
// one literal ("http://" PRODUCT_HOME_HOST "/forum").
#define PRODUCT_HOME_DOMAIN L"ternavo.example"
#define PRODUCT_HOME_HOST L"www." PRODUCT_HOME_DOMAIN

constexpr wchar_t kHomeHost[] = PRODUCT_HOME_HOST;
// What a link shows where the full host does not fit.
constexpr wchar_t kHomeDomain[] = PRODUCT_HOME_DOMAIN;
