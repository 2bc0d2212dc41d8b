// Every text the drawings and the report write of their own, in Chinese as
// the sheets show them. Names, symbols and units of the fields and results
// come from calc/fields.h and calc/results.h; these are the rest. The
// libraries with Qt translate each through the context wormgear::Drawings.
#pragma once

namespace wormgear::texts {

// Sheet names: the title block, the window titles, the file names proposed.
inline constexpr const char* kWormDrawing = "蜗杆图";
inline constexpr const char* kWheelDrawing = "蜗轮图";
inline constexpr const char* kHobDrawing = "滚刀图";
inline constexpr const char* kReport = "计算书";

// Title block.
inline constexpr const char* kDesign = "设计";
inline constexpr const char* kDate = "日期";
inline constexpr const char* kProgram = "程序";
inline constexpr const char* kScale = "比例";
inline constexpr const char* kDrawingNumber = "图号";
inline constexpr const char* kUnsavedDesign = "未保存的设计";
inline constexpr const char* kWormPart = "蜗杆";
inline constexpr const char* kWheelPart = "蜗轮";
inline constexpr const char* kHobPart = "滚刀";

// Parameter tables.
inline constexpr const char* kParameterTable = "参数表";
inline constexpr const char* kName = "名称";
inline constexpr const char* kSymbol = "代号";
inline constexpr const char* kValue = "数值";
inline constexpr const char* kUnit = "单位";
inline constexpr const char* kHand = "螺旋方向";
inline constexpr const char* kRightHand = "右";
inline constexpr const char* kAccuracy = "精度等级";
inline constexpr const char* kCutting = "加工方法";
inline constexpr const char* kHobbing = "滚刀加工";
inline constexpr const char* kHobDrawingNumber = "滚刀图号";

// Views and notes.
inline constexpr const char* kToothFormSchematic = "齿形为示意";
inline constexpr const char* kNormalSection = "法向截面";
inline constexpr const char* kAxialSection = "轴向截面";
inline constexpr const char* kMidPlaneSection = "中间平面剖视";
inline constexpr const char* kAxialView = "轴向剖视";
inline constexpr const char* kWheelAxis = "蜗轮轴线";
inline constexpr const char* kWormAxis = "蜗杆轴线";
inline constexpr const char* kDetail = "I";

// The report.
inline constexpr const char* kReportTitle = "蜗杆副设计计算书";
inline constexpr const char* kInputsSection = "输入参数";
inline constexpr const char* kCoefficientsSection = "计算法则系数";
inline constexpr const char* kResultsSection = "计算结果";
inline constexpr const char* kChecksSection = "设计校核";
inline constexpr const char* kDrawingsSection = "图样";
inline constexpr const char* kRule = "计算法则";
inline constexpr const char* kShippedValue = "出厂值";
inline constexpr const char* kModifiedMark = "已修改";
inline constexpr const char* kModifiedNote = "标有“已修改”的系数与出厂值不同。";
inline constexpr const char* kShippedUnknown = "未知";
inline constexpr const char* kRoundTeeth = "取整数";
inline constexpr const char* kYes = "是";
inline constexpr const char* kNo = "否";
inline constexpr const char* kSeverity = "级别";
inline constexpr const char* kCode = "代码";
inline constexpr const char* kMessage = "说明";
inline constexpr const char* kPage = "第 %1 页 共 %2 页";

}  // namespace wormgear::texts
