// Every text the drawings and the report write of their own, in Chinese as
// the sheets show them. Names, symbols and units of the fields and results
// come from calc/fields.h and calc/results.h; these are the rest. The
// libraries with Qt translate each through the context wormgear::Drawings.
#pragma once

// lupdate finds each text by this marker and files it under its context; in
// the libraries without Qt the marker is the text itself, as in Qt.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x  // spelled as Qt spells it: a repeat is no redefinition
#endif

namespace wormgear::texts {

// Sheet names: the title block, the window titles, the file names proposed.
inline constexpr const char* kWormDrawing = QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗杆图");
inline constexpr const char* kWheelDrawing = QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗轮图");
inline constexpr const char* kHobDrawing = QT_TRANSLATE_NOOP("wormgear::Drawings", "滚刀图");
inline constexpr const char* kReport = QT_TRANSLATE_NOOP("wormgear::Drawings", "计算书");

// Title block.
inline constexpr const char* kDesign = QT_TRANSLATE_NOOP("wormgear::Drawings", "设计");
inline constexpr const char* kDate = QT_TRANSLATE_NOOP("wormgear::Drawings", "日期");
inline constexpr const char* kProgram = QT_TRANSLATE_NOOP("wormgear::Drawings", "程序");
inline constexpr const char* kScale = QT_TRANSLATE_NOOP("wormgear::Drawings", "比例");
inline constexpr const char* kDrawingNumber = QT_TRANSLATE_NOOP("wormgear::Drawings", "图号");
inline constexpr const char* kChecker = QT_TRANSLATE_NOOP("wormgear::Drawings", "审核");
inline constexpr const char* kApprover = QT_TRANSLATE_NOOP("wormgear::Drawings", "批准");
inline constexpr const char* kCompanyName = QT_TRANSLATE_NOOP("wormgear::Drawings", "单位名称");
inline constexpr const char* kMaterial = QT_TRANSLATE_NOOP("wormgear::Drawings", "材料");
inline constexpr const char* kUnsavedDesign = QT_TRANSLATE_NOOP("wormgear::Drawings", "未保存的设计");
inline constexpr const char* kWormPart = QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗杆");
inline constexpr const char* kWheelPart = QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗轮");
inline constexpr const char* kHobPart = QT_TRANSLATE_NOOP("wormgear::Drawings", "滚刀");

// Parameter tables.
inline constexpr const char* kParameterTable = QT_TRANSLATE_NOOP("wormgear::Drawings", "参数表");
inline constexpr const char* kName = QT_TRANSLATE_NOOP("wormgear::Drawings", "名称");
inline constexpr const char* kSymbol = QT_TRANSLATE_NOOP("wormgear::Drawings", "代号");
inline constexpr const char* kValue = QT_TRANSLATE_NOOP("wormgear::Drawings", "数值");
inline constexpr const char* kUnit = QT_TRANSLATE_NOOP("wormgear::Drawings", "单位");
inline constexpr const char* kHand = QT_TRANSLATE_NOOP("wormgear::Drawings", "螺旋方向");
inline constexpr const char* kRightHand = QT_TRANSLATE_NOOP("wormgear::Drawings", "右");
inline constexpr const char* kAccuracy = QT_TRANSLATE_NOOP("wormgear::Drawings", "精度等级");
inline constexpr const char* kCutting = QT_TRANSLATE_NOOP("wormgear::Drawings", "加工方法");
inline constexpr const char* kHobbing = QT_TRANSLATE_NOOP("wormgear::Drawings", "滚刀加工");
inline constexpr const char* kAddendum = QT_TRANSLATE_NOOP("wormgear::Drawings", "齿顶高");
inline constexpr const char* kDedendum = QT_TRANSLATE_NOOP("wormgear::Drawings", "齿根高");
inline constexpr const char* kAxialPitch = QT_TRANSLATE_NOOP("wormgear::Drawings", "轴向齿距");
inline constexpr const char* kMateDrawingNumber = QT_TRANSLATE_NOOP("wormgear::Drawings", "配对件图号");
inline constexpr const char* kThicknessUpper = QT_TRANSLATE_NOOP("wormgear::Drawings", "齿厚上偏差");
inline constexpr const char* kThicknessLower = QT_TRANSLATE_NOOP("wormgear::Drawings", "齿厚下偏差");
inline constexpr const char* kMissing = QT_TRANSLATE_NOOP("wormgear::Drawings", "未填");
// The pair's assembly deviations (both ±) and each part's radial runout, as
// the tolerance table holds them.
inline constexpr const char* kCentreDistanceDeviation = QT_TRANSLATE_NOOP("wormgear::Drawings", "中心距偏差");
inline constexpr const char* kMidPlaneDeviation = QT_TRANSLATE_NOOP("wormgear::Drawings", "中间平面偏移");
inline constexpr const char* kRadialRunout = QT_TRANSLATE_NOOP("wormgear::Drawings", "径向跳动");
inline constexpr const char* kMicrometre = "μm";
inline constexpr const char* kMillimetre = "mm";
inline constexpr const char* kHobDrawingNumber = QT_TRANSLATE_NOOP("wormgear::Drawings", "滚刀图号");

// 技术要求: the heading, and the line of the heat treatment after the
// designer's lines (%1 its number, %2 the treatment).
inline constexpr const char* kRequirements = QT_TRANSLATE_NOOP("wormgear::Drawings", "技术要求");
inline constexpr const char* kHeatTreatmentLine = QT_TRANSLATE_NOOP("wormgear::Drawings", "%1. 热处理：%2");

// Views and notes.
inline constexpr const char* kToothFormSchematic = QT_TRANSLATE_NOOP("wormgear::Drawings", "齿形为示意");
inline constexpr const char* kNormalSection = QT_TRANSLATE_NOOP("wormgear::Drawings", "法向截面");
inline constexpr const char* kAxialSection = QT_TRANSLATE_NOOP("wormgear::Drawings", "轴向截面");
inline constexpr const char* kMidPlaneSection = QT_TRANSLATE_NOOP("wormgear::Drawings", "中间平面剖视");
inline constexpr const char* kAxialView = QT_TRANSLATE_NOOP("wormgear::Drawings", "轴向剖视");
inline constexpr const char* kWheelAxis = QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗轮轴线");
inline constexpr const char* kWormAxis = QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗杆轴线");
inline constexpr const char* kDetail = "I";

// The report.
inline constexpr const char* kReportTitle = QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗杆副设计计算书");
inline constexpr const char* kInputsSection = QT_TRANSLATE_NOOP("wormgear::Drawings", "输入参数");
inline constexpr const char* kCoefficientsSection = QT_TRANSLATE_NOOP("wormgear::Drawings", "计算法则系数");
inline constexpr const char* kResultsSection = QT_TRANSLATE_NOOP("wormgear::Drawings", "计算结果");
inline constexpr const char* kChecksSection = QT_TRANSLATE_NOOP("wormgear::Drawings", "设计校核");
inline constexpr const char* kStepsSection = QT_TRANSLATE_NOOP("wormgear::Drawings", "计算过程");
inline constexpr const char* kCalculation = QT_TRANSLATE_NOOP("wormgear::Drawings", "公式与代入数值");
inline constexpr const char* kDrawingsSection = QT_TRANSLATE_NOOP("wormgear::Drawings", "图样");
inline constexpr const char* kRule = QT_TRANSLATE_NOOP("wormgear::Drawings", "计算法则");
inline constexpr const char* kShippedValue = QT_TRANSLATE_NOOP("wormgear::Drawings", "出厂值");
inline constexpr const char* kModifiedMark = QT_TRANSLATE_NOOP("wormgear::Drawings", "已修改");
inline constexpr const char* kModifiedNote = QT_TRANSLATE_NOOP("wormgear::Drawings",
                                                               "标有“已修改”的系数与出厂值不同。");
inline constexpr const char* kShippedUnknown = QT_TRANSLATE_NOOP("wormgear::Drawings", "未知");
inline constexpr const char* kRoundTeeth = QT_TRANSLATE_NOOP("wormgear::Drawings", "取整数");
inline constexpr const char* kYes = QT_TRANSLATE_NOOP("wormgear::Drawings", "是");
inline constexpr const char* kNo = QT_TRANSLATE_NOOP("wormgear::Drawings", "否");
inline constexpr const char* kSeverity = QT_TRANSLATE_NOOP("wormgear::Drawings", "级别");
inline constexpr const char* kCode = QT_TRANSLATE_NOOP("wormgear::Drawings", "代码");
inline constexpr const char* kMessage = QT_TRANSLATE_NOOP("wormgear::Drawings", "说明");
// The review block: who designed, checked and approved the design, and when.
inline constexpr const char* kReview = QT_TRANSLATE_NOOP("wormgear::Drawings", "审阅");
inline constexpr const char* kPersonName = QT_TRANSLATE_NOOP("wormgear::Drawings", "姓名");
// The references: what the calculation, the meshing analysis and the
// drawings follow.
inline constexpr const char* kReferencesSection = QT_TRANSLATE_NOOP("wormgear::Drawings", "参考资料");
inline constexpr const char* kReferenceAccuracy = QT_TRANSLATE_NOOP(
    "wormgear::Drawings", "GB/T 16445-1996：蜗杆副的精度等级（蜗杆精度、滚刀精度所注的标准）");
inline constexpr const char* kReferenceTolerances = QT_TRANSLATE_NOOP(
    "wormgear::Drawings", "公差表（设置 → 公差表）：齿厚偏差按精度等级与中心距由设计者从其标准录入");
inline constexpr const char* kReferenceMeshing = QT_TRANSLATE_NOOP(
    "wormgear::Drawings", "吴序堂：齿轮啮合原理，机械工业出版社（包络、啮合方程、界限线）");
inline constexpr const char* kReferenceCurvature = QT_TRANSLATE_NOOP(
    "wormgear::Drawings",
    "F. L. Litvin, A. Fuentes: Gear Geometry and Applied Theory, 2nd ed., Cambridge University Press, 2004（线接触的诱导法曲率）");
inline constexpr const char* kReferenceSheets = QT_TRANSLATE_NOOP(
    "wormgear::Drawings", "GB/T 14689-2008 技术制图 图纸幅面和格式；GB/T 14691-1993 技术制图 字体");
inline constexpr const char* kReferenceLayers = QT_TRANSLATE_NOOP("wormgear::Drawings",
                                                                  "GB/T 14665-2012 机械工程 CAD制图规则（图层）");
inline constexpr const char* kReferenceRoughness = QT_TRANSLATE_NOOP(
    "wormgear::Drawings", "GB/T 131-2006 产品几何技术规范（GPS） 技术产品文件中表面结构的表示法");
inline constexpr const char* kPage = QT_TRANSLATE_NOOP("wormgear::Drawings", "第 %1 页 共 %2 页");

// The meshing analysis.
inline constexpr const char* kMeshing = QT_TRANSLATE_NOOP("wormgear::Drawings", "啮合分析");
inline constexpr const char* kWormAxialContact = QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗杆轴向截面上的接触线");
inline constexpr const char* kWheelToothContact = QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗轮齿面上的接触线");
inline constexpr const char* kAlongLines = QT_TRANSLATE_NOOP("wormgear::Drawings", "沿接触线");
inline constexpr const char* kModificationAlongThread = QT_TRANSLATE_NOOP("wormgear::Drawings",
                                                                          "修形量（沿螺纹，上齿面）");
inline constexpr const char* kAlongWormAxis = QT_TRANSLATE_NOOP("wormgear::Drawings", "沿蜗杆轴线");
inline constexpr const char* kFromWheelAxis = QT_TRANSLATE_NOOP("wormgear::Drawings", "距蜗轮轴线");
inline constexpr const char* kAlongWheelAxis = QT_TRANSLATE_NOOP("wormgear::Drawings", "沿蜗轮轴线");
inline constexpr const char* kWheelRadius = QT_TRANSLATE_NOOP("wormgear::Drawings", "半径");
inline constexpr const char* kLubricationAngle = QT_TRANSLATE_NOOP("wormgear::Drawings", "润滑角");
inline constexpr const char* kSlidingSpeed = QT_TRANSLATE_NOOP("wormgear::Drawings", "滑动速度");
inline constexpr const char* kDeparture = QT_TRANSLATE_NOOP("wormgear::Drawings", "修形量");
inline constexpr const char* kFirstBranch = QT_TRANSLATE_NOOP("wormgear::Drawings", "第一接触线");
inline constexpr const char* kSecondBranch = QT_TRANSLATE_NOOP("wormgear::Drawings", "第二接触线");
inline constexpr const char* kFirstLimit = QT_TRANSLATE_NOOP("wormgear::Drawings", "第一界限线");
inline constexpr const char* kSecondLimit = QT_TRANSLATE_NOOP("wormgear::Drawings", "第二界限线");
inline constexpr const char* kInToothZone = QT_TRANSLATE_NOOP("wormgear::Drawings", "进入齿面");
inline constexpr const char* kOutsideToothZone = QT_TRANSLATE_NOOP("wormgear::Drawings", "在齿面以外");
inline constexpr const char* kTeethInContact = QT_TRANSLATE_NOOP("wormgear::Drawings", "同时接触齿数");
inline constexpr const char* kPitchPoint = QT_TRANSLATE_NOOP("wormgear::Drawings", "节点");
inline constexpr const char* kWheelAngle = QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗轮转角");
inline constexpr const char* kWormSpeed = QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗杆转速");
inline constexpr const char* kUnsolvedPoints = QT_TRANSLATE_NOOP("wormgear::Drawings", "未能求解的点");
inline constexpr const char* kLargestSliding = QT_TRANSLATE_NOOP("wormgear::Drawings", "最大滑动速度");
inline constexpr const char* kLeastLubrication = QT_TRANSLATE_NOOP("wormgear::Drawings", "最小润滑角");
inline constexpr const char* kLargestCurvature = QT_TRANSLATE_NOOP("wormgear::Drawings", "最大诱导法曲率");
inline constexpr const char* kModificationEnds = QT_TRANSLATE_NOOP("wormgear::Drawings", "修形量（两端）");
inline constexpr const char* kNoMeshingForErrors = QT_TRANSLATE_NOOP("wormgear::Drawings",
                                                                     "设计检查发现错误，不做啮合分析。");
inline constexpr const char* kNoMeshingForFlanks = QT_TRANSLATE_NOOP(
    "wormgear::Drawings", "该设计无法做啮合分析：按喉部轴向齿厚无法确定蜗杆齿面。");

}  // namespace wormgear::texts
