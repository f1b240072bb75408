#include "world/route_table.h"

namespace veldmark {

// clang-format off
const std::array<SectionSpec, kRouteSections> kRouteTable = {{
    //  length  turn   style lion group lone term feature
    {    500.0f,  50.0f, 0,  0,   0,    0,   0,   1, {} },  //  0
    {    320.0f, -70.0f, 0,  1,   0,    0,   0,   1, {} },  //  1 lion
    {    400.0f,  20.0f, 0,  0,   1,    0,   0,   1, {} },  //  2 first group block
    {    300.0f,  20.0f, 1,  0,   0,    0,   0,   1, {} },  //  3 tall yellow trees
    {    300.0f, -70.0f, 0,  0,   0,    1,   0,   2, {} },  //  4
    {    300.0f, -70.0f, 0,  0,   0,    1,   0,   1, {} },  //  5
    {   1200.0f,  80.0f, 2,  0,   0,    1,   0,   4, {} },  //  6 the long stretch
    {    300.0f,  15.0f, 0,  0,   0,    1,   0,   1, {} },  //  7
    {    300.0f, -70.0f, 0,  0,   0,    1,   0,   1, {} },  //  8
    {    800.0f,  15.0f, 0,  0,   0,    1,   0,   1, {} },  //  9
    {    300.0f,  15.0f, 0,  0,   1,    1,   0,   1, {} },  // 10 second group block
    {    300.0f,  15.0f, 0,  0,   1,    1,   0,   1, {} },  // 11
    {    300.0f,  15.0f, 2,  1,   1,    1,   0,   5, {} },  // 12 lion and group at once
    {    400.0f, -50.0f, 0,  0,   1,    1,   0,   1, {} },  // 13
    {    300.0f,  50.0f, 0,  0,   1,    1,   0,   1, {} },  // 14
    {    300.0f, -50.0f, 2,  0,   0,    1,   0,   3, {} },  // 15
    {    300.0f,  50.0f, 0,  0,   1,    1,   0,   1, {} },  // 16
    {    300.0f, -50.0f, 0,  0,   1,    1,   0,   1, {} },  // 17
    {    300.0f,   0.0f, 2,  1,   1,    1,   1,   1, {} },  // 18 terminal
}};
// clang-format on

} // namespace veldmark
