<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>wormgear::Calculation</name>
    <message>
        <source>输入参数不正确......（速比=齿数/头数）</source>
        <translation>Incorrect input......(speed ratio = teeth/starts)</translation>
    </message>
    <message>
        <source>您输入的内容不符合要求......（只能输入合法数字，且不能为空）</source>
        <translation>Your input is not valid......(only valid numbers, none empty)</translation>
    </message>
    <message>
        <source>数字输入有误,请核实.........</source>
        <translation>A number is not valid, please check.........</translation>
    </message>
</context>
<context>
    <name>wormgear::Checks</name>
    <message>
        <source>{field} 未填写：只能输入合法数字，且不能为空</source>
        <translation>{field} is empty: it needs a valid number</translation>
    </message>
    <message>
        <source>{field} 不是合法数字：输入的是“{typed}”</source>
        <translation>{field} is not a valid number: “{typed}” was typed</translation>
    </message>
    <message>
        <source>{field} 须为 -2147483648～2147483647 之间的整数：输入的是“{typed}”</source>
        <translation>{field} must be a whole number from -2147483648 to 2147483647: “{typed}” was typed</translation>
    </message>
    <message>
        <source>{field} {typed} 超出可计算的范围（绝对值须小于 1.79769313486232E308）</source>
        <translation>{field} {typed} is beyond the range the calculation holds (its size must stay below 1.79769313486232E308)</translation>
    </message>
    <message>
        <source>{field} 可取 {proposal}</source>
        <translation>Try {proposal} for the {field}</translation>
    </message>
    <message>
        <source>蜗杆头数 z1 = 0：速比 z2/z1 无法计算</source>
        <translation>Worm starts z1 = 0: the ratio z2/z1 cannot be formed</translation>
    </message>
    <message>
        <source>蜗杆头数至少取 1</source>
        <translation>Give the worm at least 1 start</translation>
    </message>
    <message>
        <source>速比 i = {i} 与齿数/头数 z2/z1 = {z2}/{z1} = {ratio} 相差 {difference}，超过 0.001</source>
        <translation>The speed ratio i = {i} differs from teeth/starts z2/z1 = {z2}/{z1} = {ratio} by {difference}, more than 0.001</translation>
    </message>
    <message>
        <source>速比取 {proposal}，或改齿数与头数</source>
        <translation>Make the speed ratio {proposal}, or change the teeth or the starts</translation>
    </message>
    <message>
        <source>蜗轮分度圆直径 d2 = 2A − d1 超出可计算的范围（取整后须小于 9.22E15）：A = {A}，d1 = {d1}</source>
        <translation>The wheel pitch diameter d2 = 2A − d1 is beyond the range the calculation can round (below 9.22E15): A = {A}, d1 = {d1}</translation>
    </message>
    <message>
        <source>蜗轮齿数 z2 = 0：端面模数 mt = d2/z2 无法计算</source>
        <translation>Wheel teeth z2 = 0: the transverse module mt = d2/z2 cannot be formed</translation>
    </message>
    <message>
        <source>齿根高 hf = c[1]·mt 超出可计算的范围（取整后须小于 9.22E15）：c[1] = {c1}，mt = {mt}</source>
        <translation>The dedendum hf = c[1]·mt is beyond the range the calculation can round (below 9.22E15): c[1] = {c1}, mt = {mt}</translation>
    </message>
    <message>
        <source>喉部齿根圆直径 df1 = d1 − 2hf 超出可计算的范围（取整后须小于 9.22E15）：d1 = {d1}，hf = {hf}</source>
        <translation>The throat root diameter df1 = d1 − 2hf is beyond the range the calculation can round (below 9.22E15): d1 = {d1}, hf = {hf}</translation>
    </message>
    <message>
        <source>蜗杆齿根圆弧半径 Rf1 = A − df1/2 超出可计算的范围（取整后须小于 9.22E15）：A = {A}，df1 = {df1}</source>
        <translation>The worm root arc radius Rf1 = A − df1/2 is beyond the range the calculation can round (below 9.22E15): A = {A}, df1 = {df1}</translation>
    </message>
    <message>
        <source>齿顶高 ha = c[2]·mt 超出可计算的范围（取整后须小于 9.22E15）：c[2] = {c2}，mt = {mt}</source>
        <translation>The addendum ha = c[2]·mt is beyond the range the calculation can round (below 9.22E15): c[2] = {c2}, mt = {mt}</translation>
    </message>
    <message>
        <source>蜗杆齿顶圆弧半径 Ra1 = A − da1/2 + E 超出可计算的范围（取整后须小于 9.22E15）：A = {A}，da1 = {da1}，E = {E}</source>
        <translation>The worm tip arc radius Ra1 = A − da1/2 + E is beyond the range the calculation can round (below 9.22E15): A = {A}, da1 = {da1}, E = {E}</translation>
    </message>
    <message>
        <source>工作半包角 φ = 0.5·τ·(K − c[3]) 超出可计算的范围（取整后须小于 9.22E15）：τ = {tau}，K = {K}，c[3] = {c3}</source>
        <translation>The working half wrap angle φ = 0.5·τ·(K − c[3]) is beyond the range the calculation can round (below 9.22E15): τ = {tau}, K = {K}, c[3] = {c3}</translation>
    </message>
    <message>
        <source>轴肩 c[6]·mt 超出可取整的范围（须小于 9.22E18）：c[6] = {c6}，mt = {mt}</source>
        <translation>The shaft shoulder c[6]·mt is beyond the range that can be truncated (below 9.22E18): c[6] = {c6}, mt = {mt}</translation>
    </message>
    <message>
        <source>速比 i = 0：喉部导程角 γ = atan(d2/i/d1) 无法计算（z2/z1 = {z2}/{z1} 与 0 相差不超过 0.001，速比检查因此通过）</source>
        <translation>The speed ratio i = 0: the throat lead angle γ = atan(d2/i/d1) cannot be formed (z2/z1 = {z2}/{z1} lies within 0.001 of 0, so the ratio check passed)</translation>
    </message>
    <message>
        <source>蜗杆分度圆直径 d1 = 0：喉部导程角 γ = atan(d2/i/d1) 无法计算</source>
        <translation>The worm pitch diameter d1 = 0: the throat lead angle γ = atan(d2/i/d1) cannot be formed</translation>
    </message>
    <message>
        <source>蜗杆分度圆直径可取 {proposal}（按中心距的建议值）</source>
        <translation>Try the worm pitch diameter {proposal} (the value proposed for the centre distance)</translation>
    </message>
    <message>
        <source>蜗轮分度圆直径 d2 = 2A − d1 = 0（A = {A}，d1 = {d1}）：压力角 α = asin(Db/d2) 无法计算</source>
        <translation>The wheel pitch diameter d2 = 2A − d1 = 0 (A = {A}, d1 = {d1}): the pressure angle α = asin(Db/d2) cannot be formed</translation>
    </message>
    <message>
        <source>主基圆直径 Db = {Db} 超出蜗轮分度圆直径 d2 = {d2}（d2 = 2A − d1）：压力角 α = asin(Db/d2) 无定义（须 |Db| ≤ d2）</source>
        <translation>The main base circle diameter Db = {Db} exceeds the wheel pitch diameter d2 = {d2} (d2 = 2A − d1): the pressure angle α = asin(Db/d2) is undefined (|Db| ≤ d2 is needed)</translation>
    </message>
    <message>
        <source>主基圆直径可取 {proposal}（按中心距的建议值）</source>
        <translation>Try the main base circle diameter {proposal} (the value proposed for the centre distance)</translation>
    </message>
    <message>
        <source>周节 p = π·mt 超出可计算的范围（取整后须小于 9.22E15）：mt = {mt}</source>
        <translation>The circular pitch p = π·mt is beyond the range the calculation can round (below 9.22E15): mt = {mt}</translation>
    </message>
    <message>
        <source>中心距 A = 0：母平面倾斜角 β 的公式中 d2/A 无法计算</source>
        <translation>The centre distance A = 0: d2/A in the formula of the generating-plane inclination β cannot be formed</translation>
    </message>
    <message>
        <source>母平面倾斜角 β 无定义：公式的分母 (cos(α+k) − cos α·d2/(2A))·i 为 0（α = {alpha}°，k = {k}°，d2 = {d2}，A = {A}，i = {i}）</source>
        <translation>The generating-plane inclination β is undefined: the denominator (cos(α+k) − cos α·d2/(2A))·i of its formula is 0 (α = {alpha}°, k = {k}°, d2 = {d2}, A = {A}, i = {i})</translation>
    </message>
    <message>
        <source>蜗杆轴向齿厚 sx1 = p − c[5]·p − jn 超出可计算的范围（取整后须小于 9.22E15）：p = {p}，c[5] = {c5}，侧隙 jn = {jn}</source>
        <translation>The worm axial thickness sx1 = p − c[5]·p − jn is beyond the range the calculation can round (below 9.22E15): p = {p}, c[5] = {c5}, backlash jn = {jn}</translation>
    </message>
    <message>
        <source>蜗杆轴向齿厚 sx1 = {sx1} 超出蜗轮分度圆直径 d2 = {d2}：测量齿高中的 asin(sx1/d2) 无定义（sx1 = p − c[5]·p − jn，侧隙 jn = {jn}）</source>
        <translation>The worm axial thickness sx1 = {sx1} exceeds the wheel pitch diameter d2 = {d2}: asin(sx1/d2) in the measuring height is undefined (sx1 = p − c[5]·p − jn, backlash jn = {jn})</translation>
    </message>
    <message>
        <source>蜗杆测量齿高 h1 超出可计算的范围（取整后须小于 9.22E15）：ha = {ha}，d2 = {d2}</source>
        <translation>The worm measuring height h1 is beyond the range the calculation can round (below 9.22E15): ha = {ha}, d2 = {d2}</translation>
    </message>
    <message>
        <source>刀体齿顶圆弧半径 Ra0 = Ra1 − 0.2mt − c[8]·mt 超出可计算的范围（取整后须小于 9.22E15）：Ra1 = {Ra1}，mt = {mt}，c[8] = {c8}</source>
        <translation>The hob body tip arc radius Ra0 = Ra1 − 0.2mt − c[8]·mt is beyond the range the calculation can round (below 9.22E15): Ra1 = {Ra1}, mt = {mt}, c[8] = {c8}</translation>
    </message>
    <message>
        <source>包围齿数 K = {K} 超出可取整的范围（须小于 9.22E18），滚刀包络齿数 K0 = T(K) + c[11] 无法计算</source>
        <translation>The enveloped teeth K = {K} are beyond the range that can be truncated (below 9.22E18): the hob enveloping teeth K0 = T(K) + c[11] cannot be formed</translation>
    </message>
    <message>
        <source>滚刀半包角 φ0 = 0.5·τ·(K0 − c[10]) 超出可计算的范围（取整后须小于 9.22E15）：τ = {tau}，K0 = {K0}，c[10] = {c10}</source>
        <translation>The hob half wrap angle φ0 = 0.5·τ·(K0 − c[10]) is beyond the range the calculation can round (below 9.22E15): τ = {tau}, K0 = {K0}, c[10] = {c10}</translation>
    </message>
    <message>
        <source>滚刀轴向齿厚 sx0 = (sn1 + jn)/cos γ 超出可计算的范围（取整后须小于 9.22E15）：sn1 + jn = {sn0}，γ = {gamma}°</source>
        <translation>The hob axial thickness sx0 = (sn1 + jn)/cos γ is beyond the range the calculation can round (below 9.22E15): sn1 + jn = {sn0}, γ = {gamma}°</translation>
    </message>
    <message>
        <source>滚刀测量齿高 h0 = 0.2mt + h1 + c[8]·mt 超出可计算的范围（取整后须小于 9.22E15）：mt = {mt}，h1 = {h1}，c[8] = {c8}</source>
        <translation>The hob measuring height h0 = 0.2mt + h1 + c[8]·mt is beyond the range the calculation can round (below 9.22E15): mt = {mt}, h1 = {h1}, c[8] = {c8}</translation>
    </message>
    <message>
        <source>蜗轮最大外圆 de2 = 2ha + d2 + c[13]·mt 超出可取整的范围（须小于 9.22E18）：ha = {ha}，d2 = {d2}，c[13] = {c13}，mt = {mt}</source>
        <translation>The largest wheel outer diameter de2 = 2ha + d2 + c[13]·mt is beyond the range that can be rounded (below 9.22E18): ha = {ha}, d2 = {d2}, c[13] = {c13}, mt = {mt}</translation>
    </message>
    <message>
        <source>蜗轮弧齿厚 s2 = p·c[5] 超出可计算的范围（取整后须小于 9.22E15）：p = {p}，c[5] = {c5}</source>
        <translation>The wheel arc thickness s2 = p·c[5] is beyond the range the calculation can round (below 9.22E15): p = {p}, c[5] = {c5}</translation>
    </message>
    <message>
        <source>蜗轮弧齿厚 s2 = {s2} 超出蜗轮分度圆直径 d2 = {d2}：蜗轮测量齿高中的 asin(s2/d2) 无定义（s2 = c[5]·p，c[5] = {c5}）</source>
        <translation>The wheel arc thickness s2 = {s2} exceeds the wheel pitch diameter d2 = {d2}: asin(s2/d2) in the wheel measuring height is undefined (s2 = c[5]·p, c[5] = {c5})</translation>
    </message>
    <message>
        <source>蜗轮测量齿高 超出可计算的范围（取整后须小于 9.22E15）：ha = {ha}，d2 = {d2}</source>
        <translation>The wheel measuring height is beyond the range the calculation can round (below 9.22E15): ha = {ha}, d2 = {d2}</translation>
    </message>
    <message>
        <source>齿圈工作宽度 b2 = c[14]·d1 超出可取整的范围（须小于 9.22E18）：c[14] = {c14}，d1 = {d1}</source>
        <translation>The rim working width b2 = c[14]·d1 is beyond the range that can be truncated (below 9.22E18): c[14] = {c14}, d1 = {d1}</translation>
    </message>
    <message>
        <source>蜗轮喉径 2ha + d2 超出可计算的范围（取整后须小于 9.22E15）：ha = {ha}，d2 = {d2}</source>
        <translation>The wheel throat diameter 2ha + d2 is beyond the range the calculation can round (below 9.22E15): ha = {ha}, d2 = {d2}</translation>
    </message>
    <message>
        <source>蜗杆工作长度的一半 L/2 = {halfL} 超过蜗杆齿顶圆弧半径 Ra1 = {Ra1}：最大齿顶圆直径中的 √(Ra1² − (L/2)²) 无定义</source>
        <translation>Half the worm working length, L/2 = {halfL}, exceeds the worm tip arc radius Ra1 = {Ra1}: √(Ra1² − (L/2)²) in the largest tip diameter is undefined</translation>
    </message>
    <message>
        <source>蜗杆最大齿顶圆直径 2((A + E) − √(Ra1² − (L/2)²)) 超出可计算的范围（取整后须小于 9.22E15）：A = {A}，E = {E}，Ra1 = {Ra1}，L/2 = {halfL}</source>
        <translation>The largest worm tip diameter 2((A + E) − √(Ra1² − (L/2)²)) is beyond the range the calculation can round (below 9.22E15): A = {A}, E = {E}, Ra1 = {Ra1}, L/2 = {halfL}</translation>
    </message>
    <message>
        <source>蜗杆工作长度的一半 L/2 = {halfL} 超过蜗杆齿根圆弧半径 Rf1 = {Rf1}：蜗轮齿顶圆弧半径中的 √(Rf1² − (L/2)²) 无定义</source>
        <translation>Half the worm working length, L/2 = {halfL}, exceeds the worm root arc radius Rf1 = {Rf1}: √(Rf1² − (L/2)²) in the wheel tip arc radius is undefined</translation>
    </message>
    <message>
        <source>蜗轮齿顶圆弧半径 (A − √(Rf1² − (L/2)²))·2c[12] 超出可取整的范围（须小于 9.22E18）：A = {A}，Rf1 = {Rf1}，L/2 = {halfL}，c[12] = {c12}</source>
        <translation>The wheel tip arc radius (A − √(Rf1² − (L/2)²))·2c[12] is beyond the range that can be rounded (below 9.22E18): A = {A}, Rf1 = {Rf1}, L/2 = {halfL}, c[12] = {c12}</translation>
    </message>
    <message>
        <source>蜗杆齿顶宽无法计算：Ra1 − E + h1 = 0（Ra1 = {Ra1}，E = {E}，h1 = {h1}）</source>
        <translation>The worm tip width cannot be formed: Ra1 − E + h1 = 0 (Ra1 = {Ra1}, E = {E}, h1 = {h1})</translation>
    </message>
    <message>
        <source>蜗杆齿顶宽 sx1 − 2h1·tan(θ + α) 超出可计算的范围（取整后须小于 9.22E16）：sx1 = {sx1}，h1 = {h1}，θ + α = {angle}°</source>
        <translation>The worm tip width sx1 − 2h1·tan(θ + α) is beyond the range the calculation can round (below 9.22E16): sx1 = {sx1}, h1 = {h1}, θ + α = {angle}°</translation>
    </message>
    <message>
        <source>滚刀齿顶宽无法计算：Ra0 − E + h0 = 0（Ra0 = {Ra0}，E = {E}，h0 = {h0}）</source>
        <translation>The hob tip width cannot be formed: Ra0 − E + h0 = 0 (Ra0 = {Ra0}, E = {E}, h0 = {h0})</translation>
    </message>
    <message>
        <source>滚刀齿顶宽 sx0 − 2h0·tan(θ0 + α) 超出可计算的范围（取整后须小于 9.22E16）：sx0 = {sx0}，h0 = {h0}，θ0 + α = {angle}°</source>
        <translation>The hob tip width sx0 − 2h0·tan(θ0 + α) is beyond the range the calculation can round (below 9.22E16): sx0 = {sx0}, h0 = {h0}, θ0 + α = {angle}°</translation>
    </message>
    <message>
        <source>修形传动比 im = (z2 + Δ)/z1 超出可计算的范围（取整后须小于 9.22E15）：z2 = {z2}，Δ = {delta}，z1 = {z1}</source>
        <translation>The modification ratio im = (z2 + Δ)/z1 is beyond the range the calculation can round (below 9.22E15): z2 = {z2}, Δ = {delta}, z1 = {z1}</translation>
    </message>
    <message>
        <source>z2 + Δ = 0（z2 = {z2}，磨齿增量 Δ = {delta}）：修形蜗轮分度圆直径 d2m = 0，修形压力角无法计算</source>
        <translation>z2 + Δ = 0 (z2 = {z2}, grinding increment Δ = {delta}): the modification pitch diameter d2m = 0 and the modification pressure angle cannot be formed</translation>
    </message>
    <message>
        <source>磨齿增量取默认值 0.2</source>
        <translation>Use the default grinding increment 0.2</translation>
    </message>
    <message>
        <source>修形中心距 Am = Δ·mt/2 + A = 0（Δ = {delta}，mt = {mt}，A = {A}）：修形砂轮角无法计算</source>
        <translation>The modification centre distance Am = Δ·mt/2 + A = 0 (Δ = {delta}, mt = {mt}, A = {A}): the grinding-wheel angle cannot be formed</translation>
    </message>
    <message>
        <source>修形砂轮角 βm 无定义：公式的分母 (cos(αm+k) − cos αm·d2m/(2Am))·im 为 0（αm = {alpham}°，k = {k}°，d2m = {d2m}，Am = {Am}，im = {im}）</source>
        <translation>The grinding-wheel angle βm is undefined: the denominator (cos(αm+k) − cos αm·d2m/(2Am))·im of its formula is 0 (αm = {alpham}°, k = {k}°, d2m = {d2m}, Am = {Am}, im = {im})</translation>
    </message>
    <message>
        <source>中心距 A = {A} 须大于 0</source>
        <translation>The centre distance A = {A} must be greater than 0</translation>
    </message>
    <message>
        <source>速比 i = {i} 须大于 0</source>
        <translation>The speed ratio i = {i} must be greater than 0</translation>
    </message>
    <message>
        <source>蜗轮齿数 z2 = {z2} 须大于 0</source>
        <translation>The wheel teeth z2 = {z2} must be more than 0</translation>
    </message>
    <message>
        <source>蜗杆头数 z1 = {z1} 须为正整数</source>
        <translation>The worm starts z1 = {z1} must be a positive whole number</translation>
    </message>
    <message>
        <source>主基圆直径 Db = {Db} 须大于 0</source>
        <translation>The main base circle diameter Db = {Db} must be greater than 0</translation>
    </message>
    <message>
        <source>蜗杆分度圆直径 d1 = {d1} 须大于 0</source>
        <translation>The worm pitch diameter d1 = {d1} must be greater than 0</translation>
    </message>
    <message>
        <source>蜗杆齿顶宽 sa1 = {sa1} ≤ 0：齿顶已变尖，无法加工（压力角 α = {alpha}°）</source>
        <translation>The worm tip width sa1 = {sa1} ≤ 0: the thread comes to a point and cannot be made (pressure angle α = {alpha}°)</translation>
    </message>
    <message>
        <source>减小主基圆直径 Db（压力角随之减小）或减小侧隙</source>
        <translation>Make the main base circle diameter Db smaller (the pressure angle follows) or the backlash smaller</translation>
    </message>
    <message>
        <source>滚刀齿顶宽 sa0 = {sa0} ≤ 0：滚刀齿顶已变尖，无法加工（压力角 α = {alpha}°）</source>
        <translation>The hob tip width sa0 = {sa0} ≤ 0: the hob tooth comes to a point and cannot be made (pressure angle α = {alpha}°)</translation>
    </message>
    <message>
        <source>减小主基圆直径 Db（压力角随之减小）</source>
        <translation>Make the main base circle diameter Db smaller (the pressure angle follows)</translation>
    </message>
    <message>
        <source>蜗杆测量齿厚 sn1 = {sn1} ≤ 0，无法加工（轴向齿厚 sx1 = p − c[5]·p − jn = {sx1}，侧隙 jn = {jn}）</source>
        <translation>The worm measuring thickness sn1 = {sn1} ≤ 0 and cannot be made (axial thickness sx1 = p − c[5]·p − jn = {sx1}, backlash jn = {jn})</translation>
    </message>
    <message>
        <source>减小侧隙</source>
        <translation>Make the backlash smaller</translation>
    </message>
    <message>
        <source>蜗杆测量齿高 h1 = {h1} ≤ 0，无法加工（齿顶高 ha = {ha}）</source>
        <translation>The worm measuring height h1 = {h1} ≤ 0 and cannot be made (addendum ha = {ha})</translation>
    </message>
    <message>
        <source>滚刀测量齿厚 sn1 + jn = {sn0} ≤ 0，无法加工（sn1 = {sn1}，侧隙 jn = {jn}）</source>
        <translation>The hob measuring thickness sn1 + jn = {sn0} ≤ 0 and cannot be made (sn1 = {sn1}, backlash jn = {jn})</translation>
    </message>
    <message>
        <source>滚刀测量齿高 h0 = {h0} ≤ 0，无法加工（h1 = {h1}）</source>
        <translation>The hob measuring height h0 = {h0} ≤ 0 and cannot be made (h1 = {h1})</translation>
    </message>
    <message>
        <source>蜗轮测量齿厚 = {sn2} ≤ 0，无法加工（弧齿厚 s2 = c[5]·p = {s2}）</source>
        <translation>The wheel measuring thickness {sn2} ≤ 0 and cannot be made (arc thickness s2 = c[5]·p = {s2})</translation>
    </message>
    <message>
        <source>蜗轮测量齿高 = {h2} ≤ 0，无法加工（齿顶高 ha = {ha}）</source>
        <translation>The wheel measuring height {h2} ≤ 0 and cannot be made (addendum ha = {ha})</translation>
    </message>
    <message>
        <source>母平面倾斜角 β = {beta}° ≤ 0，母平面无法如此倾斜：tan β = cos α·cos(α+k)·d2/(2A) / ((cos(α+k) − cos α·d2/(2A))·i) 不为正（α = {alpha}°，k = {k}°，cos(α+k) = {ck}，cos α·d2/(2A) = {cu}，i = {i}）</source>
        <translation>The generating-plane inclination β = {beta}° ≤ 0 and the plane cannot be inclined so: tan β = cos α·cos(α+k)·d2/(2A) / ((cos(α+k) − cos α·d2/(2A))·i) is not positive (α = {alpha}°, k = {k}°, cos(α+k) = {ck}, cos α·d2/(2A) = {cu}, i = {i})</translation>
    </message>
    <message>
        <source>修形砂轮角 βm = {betam}° ≤ 0，砂轮无法如此倾斜（修形传动比 im = {im}，修形中心距 Am = {Am}）</source>
        <translation>The grinding-wheel angle βm = {betam}° ≤ 0 and the wheel cannot be inclined so (modification ratio im = {im}, modification centre distance Am = {Am})</translation>
    </message>
    <message>
        <source>主基圆直径系数 Db/A = {share}，不在提示的 0.63～0.67 之间</source>
        <translation>The main base circle share Db/A = {share} lies outside the hint&apos;s 0.63 to 0.67</translation>
    </message>
    <message>
        <source>主基圆直径可取 {proposal}（按中心距的建议值；小传动比时取小值）</source>
        <translation>Try the main base circle diameter {proposal} (the value proposed for the centre distance; small ratios take the smaller share)</translation>
    </message>
    <message>
        <source>蜗杆分度圆直径系数 d1/A^c[0] = {factor}（c[0] = {c0}），不在提示的 0.6～0.78 之间</source>
        <translation>The worm pitch diameter factor d1/A^c[0] = {factor} (c[0] = {c0}) lies outside the hint&apos;s 0.6 to 0.78</translation>
    </message>
    <message>
        <source>速比 i = {i} &gt; 10 时 E 值取 0，现为 {E}</source>
        <translation>Above ratio 10 the E value is 0; the speed ratio is {i} and E = {E}</translation>
    </message>
    <message>
        <source>E 值取 0</source>
        <translation>Make the E value 0</translation>
    </message>
    <message>
        <source>速比 i = {i} &lt; 10 时 E 值取 0.1A～0.3A（{low}～{high}），现为 {E}</source>
        <translation>Below ratio 10 the E value is 0.1A to 0.3A ({low} to {high}); the speed ratio is {i} and E = {E}</translation>
    </message>
    <message>
        <source>E 值取 {low}～{high} 之间</source>
        <translation>Make the E value {low} to {high}</translation>
    </message>
    <message>
        <source>侧隙 jn = {jn} 不在中心距 A = {A} 的提示范围 {low}～{high} 之间（{band}）</source>
        <translation>The backlash jn = {jn} lies outside the hint&apos;s {low} to {high} for the centre distance A = {A} ({band})</translation>
    </message>
    <message>
        <source>侧隙取 {low}～{high} 之间</source>
        <translation>Make the backlash {low} to {high}</translation>
    </message>
    <message>
        <source>侧隙提示只给出中心距 80～1000 的范围，A = {A} 不在其中</source>
        <translation>The backlash hint covers centre distances 80 to 1000 only; A = {A} lies outside</translation>
    </message>
    <message>
        <source>设计检查</source>
        <translation>Design checks</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>info</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>warning</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>error</translation>
    </message>
    <message>
        <source>建议</source>
        <translation>suggestion</translation>
    </message>
    <message>
        <source>设计检查有错误</source>
        <translation>The design checks found errors</translation>
    </message>
    <message>
        <source>{severity}：{message}（{code}）</source>
        <translation>{severity}: {message} ({code})</translation>
    </message>
    <message>
        <source>{suggestion}：{text}</source>
        <translation>{suggestion}: {text}</translation>
    </message>
</context>
<context>
    <name>wormgear::CoefficientRules</name>
    <message>
        <source>蜗杆分度圆直径建议值中中心距的指数：d1 = (0.6～0.78)·A^N</source>
        <translation>Exponent of A in the proposed pitch diameter: d1 = (0.6–0.78)·A^N</translation>
    </message>
    <message>
        <source>齿根高系数：齿根高 hf = N·mt（端面模数）</source>
        <translation>Dedendum factor: hf = N·mt (transverse module)</translation>
    </message>
    <message>
        <source>齿顶高系数：齿顶高 ha = N·mt（端面模数）</source>
        <translation>Addendum factor: ha = N·mt (transverse module)</translation>
    </message>
    <message>
        <source>工作半包角：从包围齿数中扣除的齿数 N</source>
        <translation>Working half wrap angle: N teeth taken off the enveloped teeth</translation>
    </message>
    <message>
        <source>备用系数：读入但不参与计算</source>
        <translation>Spare coefficient: read, not used in the calculation</translation>
    </message>
    <message>
        <source>蜗轮齿厚占周节的比例 N（蜗杆齿厚取其余部分减去侧隙）</source>
        <translation>Wheel tooth share N of the pitch (the worm: the rest less backlash)</translation>
    </message>
    <message>
        <source>轴肩：N 倍端面模数，取整</source>
        <translation>Shaft shoulder: N × transverse module, truncated</translation>
    </message>
    <message>
        <source>包围齿数：取整后再加 N（勾选“取整数”时不加）</source>
        <translation>Enveloped teeth: rounded, plus N (not added when Round is ticked)</translation>
    </message>
    <message>
        <source>滚刀齿顶加长：N 倍端面模数（另加固定的 0.2 倍模数）</source>
        <translation>Hob tip extension: N × module (plus a fixed 0.2 × module)</translation>
    </message>
    <message>
        <source>刀体齿根圆弧半径：蜗杆齿根圆弧半径加 N（mm）</source>
        <translation>Hob body root arc radius: worm root arc radius plus N (mm)</translation>
    </message>
    <message>
        <source>滚刀半包角：从滚刀包络齿数中扣除的齿数 N</source>
        <translation>Hob half wrap angle: N teeth taken off the hob&apos;s enveloping teeth</translation>
    </message>
    <message>
        <source>滚刀包络齿数：包围齿数取整后加 N</source>
        <translation>Hob enveloping teeth: enveloped teeth rounded, plus N</translation>
    </message>
    <message>
        <source>蜗轮齿顶圆弧半径系数 N</source>
        <translation>Wheel tip arc radius factor N</translation>
    </message>
    <message>
        <source>蜗轮最大外圆：蜗轮喉径加 N 倍端面模数</source>
        <translation>Wheel max. outer diameter: throat diameter plus N × module</translation>
    </message>
    <message>
        <source>齿圈工作宽度：N 倍蜗杆分度圆直径，取整</source>
        <translation>Rim working width: N × worm pitch diameter, truncated</translation>
    </message>
</context>
<context>
    <name>wormgear::CoefficientStore</name>
    <message>
        <source>文件不是可读的数据库</source>
        <translation>the file is not a readable database</translation>
    </message>
    <message>
        <source>无法复制数据库</source>
        <translation>the database cannot be copied</translation>
    </message>
    <message>
        <source>缺少数据表 %1</source>
        <translation>table %1 is missing</translation>
    </message>
    <message>
        <source>%1 是视图，不是数据表</source>
        <translation>%1 is a view, not a table</translation>
    </message>
    <message>
        <source>%1 不是数据表</source>
        <translation>%1 is not a table</translation>
    </message>
    <message>
        <source>%1 是虚拟表，不是普通数据表</source>
        <translation>%1 is a virtual table, not an ordinary table</translation>
    </message>
    <message>
        <source>数据表 %1 带有触发器</source>
        <translation>table %1 has triggers</translation>
    </message>
    <message>
        <source>数据表 %1 的列数不足 %2 列</source>
        <translation>table %1 has fewer than %2 columns</translation>
    </message>
    <message>
        <source>第 %1 行的 N 值%2</source>
        <translation>the N value of row %1 %2</translation>
    </message>
    <message>
        <source>数据表 %1 没有数据</source>
        <translation>table %1 holds no data</translation>
    </message>
    <message>
        <source>数据库错误：%1</source>
        <translation>database error: %1</translation>
    </message>
    <message>
        <source>数据库有一次未完成的写入（留下了 -journal 日志文件），而文件或其所在文件夹不可写，无法回滚</source>
        <translation>the database has an unfinished write (a -journal file is left) and the file or its folder is not writable, so it cannot be rolled back</translation>
    </message>
    <message>
        <source>数据库正被其他程序锁定</source>
        <translation>the database is locked by another program</translation>
    </message>
    <message>
        <source>数据库已损坏</source>
        <translation>the database is damaged</translation>
    </message>
    <message>
        <source>读取数据库超过了 %1 秒，已停止</source>
        <translation>reading the database took more than %1 seconds and was stopped</translation>
    </message>
    <message>
        <source>数据库中的值过大</source>
        <translation>a value in the database is too large</translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>读写数据库时出现输入/输出错误</source>
        <translation>an input/output error occurred while reading or writing the database</translation>
    </message>
    <message>
        <source>无法打开数据库</source>
        <translation>the database cannot be opened</translation>
    </message>
    <message>
        <source>数据库是只读的</source>
        <translation>the database is read-only</translation>
    </message>
    <message>
        <source>为空</source>
        <translation>is empty</translation>
    </message>
    <message>
        <source>“%1”不是数字</source>
        <translation>&quot;%1&quot; is not a number</translation>
    </message>
    <message>
        <source>不是数字</source>
        <translation>is not a number</translation>
    </message>
    <message>
        <source>不是有限的数字</source>
        <translation>is not a finite number</translation>
    </message>
    <message>
        <source>SQLite 数据库驱动不可用</source>
        <translation>the SQLite database driver is not available</translation>
    </message>
    <message>
        <source>数据表 %1 缺少列 %2</source>
        <translation>table %1 has no column %2</translation>
    </message>
    <message>
        <source>数据表 %1 的第 %2 列不是 %3</source>
        <translation>column %2 of table %1 is not %3</translation>
    </message>
    <message>
        <source>数据表 %1 超过 %2 行</source>
        <translation>table %1 has more than %2 rows</translation>
    </message>
    <message>
        <source>数据表 %1 只有 %2 行，至少需要 %3 行</source>
        <translation>table %1 has only %2 rows; at least %3 are needed</translation>
    </message>
    <message>
        <source>数据表 %1 第 %2 行的 %3 值%4</source>
        <translation>table %1, row %2: the value of %3 %4</translation>
    </message>
    <message>
        <source>数据表 %1 第 %2 行的 %3 值为空</source>
        <translation>table %1, row %2: the value of %3 is empty</translation>
    </message>
    <message>
        <source>公差表第 %1 行：</source>
        <translation>Tolerance table, row %1: </translation>
    </message>
    <message>
        <source>精度等级应为 %1 至 %2</source>
        <translation>the accuracy grade must be %1 to %2</translation>
    </message>
    <message>
        <source>中心距区间应满足 0 ≤ 起 &lt; 止</source>
        <translation>the centre-distance band must satisfy 0 ≤ from &lt; to</translation>
    </message>
    <message>
        <source>蜗杆齿厚下偏差大于上偏差</source>
        <translation>the worm&apos;s lower tooth thickness deviation is above the upper one</translation>
    </message>
    <message>
        <source>蜗轮齿厚下偏差大于上偏差</source>
        <translation>the wheel&apos;s lower tooth thickness deviation is above the upper one</translation>
    </message>
    <message>
        <source>中心距区间与第 %1 行重叠（同一精度等级）</source>
        <translation>the centre-distance band overlaps row %1 (same accuracy grade)</translation>
    </message>
</context>
<context>
    <name>wormgear::DesignFiles</name>
    <message>
        <source>保存过程中发生错误,或者您还没安装EXCEL，保存失败........</source>
        <translation>An error occurred while saving; the design was not saved........</translation>
    </message>
    <message>
        <source>文件打开错误,或者您还没安装EXCEL.........</source>
        <translation>The file could not be opened.........</translation>
    </message>
    <message>
        <source>数据尚未保存，是否保存？</source>
        <translation>The data has not been saved. Save it now?</translation>
    </message>
    <message>
        <source>所有文件</source>
        <translation>All files</translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>没有打开的工作簿，无法将其标记为已保存并关闭。</source>
        <translation>No workbook is open, so none can be marked as saved and closed.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>文件中的图样资料有误，保存前请在“图样资料”中改正：</source>
        <translation>The drawing particulars in the file are not valid; correct them under “Drawing particulars” before saving:</translation>
    </message>
</context>
<context>
    <name>wormgear::Dialogs</name>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>wormgear::Drawings</name>
    <message>
        <source>请先计算，计算成功后才能生成图样和计算书。</source>
        <translation>Calculate first: the drawings and the report need a successful calculation.</translation>
    </message>
    <message>
        <source>保存为 DXF</source>
        <translation>Save as DXF</translation>
    </message>
    <message>
        <source>保存为 SVG</source>
        <translation>Save as SVG</translation>
    </message>
    <message>
        <source>保存为 PDF</source>
        <translation>Save as PDF</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>放大</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>缩小</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>适合窗口</source>
        <translation>Fit to window</translation>
    </message>
    <message>
        <source>文件未能保存：%1</source>
        <translation>The file was not saved: %1</translation>
    </message>
    <message>
        <source>打印机无法开始打印。</source>
        <translation>The printer cannot start printing.</translation>
    </message>
    <message>
        <source>蜗杆图</source>
        <translation>Worm drawing</translation>
    </message>
    <message>
        <source>蜗轮图</source>
        <translation>Wheel drawing</translation>
    </message>
    <message>
        <source>滚刀图</source>
        <translation>Hob drawing</translation>
    </message>
    <message>
        <source>计算书</source>
        <translation>Calculation report</translation>
    </message>
    <message>
        <source>设计</source>
        <translation>Design</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>程序</source>
        <translation>Program</translation>
    </message>
    <message>
        <source>比例</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>图号</source>
        <translation>Drawing no.</translation>
    </message>
    <message>
        <source>未保存的设计</source>
        <translation>Unsaved design</translation>
    </message>
    <message>
        <source>蜗杆</source>
        <translation>Worm</translation>
    </message>
    <message>
        <source>蜗轮</source>
        <translation>Wheel</translation>
    </message>
    <message>
        <source>滚刀</source>
        <translation>Hob</translation>
    </message>
    <message>
        <source>参数表</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>代号</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>数值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>单位</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>螺旋方向</source>
        <translation>Hand of helix</translation>
    </message>
    <message>
        <source>右</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>精度等级</source>
        <translation>Accuracy grade</translation>
    </message>
    <message>
        <source>加工方法</source>
        <translation>Cutting method</translation>
    </message>
    <message>
        <source>滚刀加工</source>
        <translation>Hobbing</translation>
    </message>
    <message>
        <source>滚刀图号</source>
        <translation>Hob drawing no.</translation>
    </message>
    <message>
        <source>齿形为示意</source>
        <translation>Tooth form schematic</translation>
    </message>
    <message>
        <source>法向截面</source>
        <translation>Normal section</translation>
    </message>
    <message>
        <source>轴向截面</source>
        <translation>Axial section</translation>
    </message>
    <message>
        <source>中间平面剖视</source>
        <translation>Mid-plane section</translation>
    </message>
    <message>
        <source>轴向剖视</source>
        <translation>Axial section view</translation>
    </message>
    <message>
        <source>蜗轮轴线</source>
        <translation>Wheel axis</translation>
    </message>
    <message>
        <source>蜗杆轴线</source>
        <translation>Worm axis</translation>
    </message>
    <message>
        <source>蜗杆副设计计算书</source>
        <translation>Worm pair design calculation report</translation>
    </message>
    <message>
        <source>输入参数</source>
        <translation>Input data</translation>
    </message>
    <message>
        <source>计算法则系数</source>
        <translation>Calculation rule coefficients</translation>
    </message>
    <message>
        <source>计算结果</source>
        <translation>Results</translation>
    </message>
    <message>
        <source>设计校核</source>
        <translation>Design checks</translation>
    </message>
    <message>
        <source>图样</source>
        <translation>Drawings</translation>
    </message>
    <message>
        <source>计算法则</source>
        <translation>Calculation rule</translation>
    </message>
    <message>
        <source>出厂值</source>
        <translation>Shipped value</translation>
    </message>
    <message>
        <source>已修改</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>标有“已修改”的系数与出厂值不同。</source>
        <translation>Coefficients marked &quot;Modified&quot; differ from the shipped values.</translation>
    </message>
    <message>
        <source>未知</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>取整数</source>
        <translation>Round</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>级别</source>
        <translation>Severity</translation>
    </message>
    <message>
        <source>代码</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>说明</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>第 %1 页 共 %2 页</source>
        <translation>Page %1 of %2</translation>
    </message>
    <message>
        <source>最近一次计算未能完成：这里仍是上一次成功计算的结果，不能保存或打印。修正输入并计算成功后，这里会随之更新。</source>
        <translation>The last calculation did not complete: this is still the result of the last successful one, and it cannot be saved or printed. It follows as soon as a calculation with corrected inputs succeeds.</translation>
    </message>
    <message>
        <source>%1（已过期）</source>
        <translation>%1 (out of date)</translation>
    </message>
    <message>
        <source>图样已过期，未保存也未打印：请先计算成功。</source>
        <translation>The drawing is out of date and was neither saved nor printed: calculate successfully first.</translation>
    </message>
    <message>
        <source>设计检查发现错误，按此设计不能加工出合格的蜗杆副：</source>
        <translation>The design checks found errors: a pair made to this design cannot be sound:</translation>
    </message>
    <message>
        <source>仍要生成吗？生成的文件将标明“%1”。</source>
        <translation>Make it anyway? What is made will be marked “%1”.</translation>
    </message>
    <message>
        <source>啮合分析</source>
        <translation>Meshing analysis</translation>
    </message>
    <message>
        <source>蜗杆轴向截面上的接触线</source>
        <translation>Contact lines in the worm&apos;s axial section</translation>
    </message>
    <message>
        <source>蜗轮齿面上的接触线</source>
        <translation>Contact lines on the wheel tooth</translation>
    </message>
    <message>
        <source>沿接触线</source>
        <translation>Along the contact lines</translation>
    </message>
    <message>
        <source>修形量（沿螺纹，上齿面）</source>
        <translation>Modification along the thread (upper flank)</translation>
    </message>
    <message>
        <source>沿蜗杆轴线</source>
        <translation>along the worm axis</translation>
    </message>
    <message>
        <source>距蜗轮轴线</source>
        <translation>from the wheel axis</translation>
    </message>
    <message>
        <source>沿蜗轮轴线</source>
        <translation>along the wheel axis</translation>
    </message>
    <message>
        <source>半径</source>
        <translation>radius</translation>
    </message>
    <message>
        <source>润滑角</source>
        <translation>lubrication angle</translation>
    </message>
    <message>
        <source>滑动速度</source>
        <translation>sliding speed</translation>
    </message>
    <message>
        <source>修形量</source>
        <translation>departure</translation>
    </message>
    <message>
        <source>第一接触线</source>
        <translation>first contact line</translation>
    </message>
    <message>
        <source>第二接触线</source>
        <translation>second contact line</translation>
    </message>
    <message>
        <source>第一界限线</source>
        <translation>first limit line</translation>
    </message>
    <message>
        <source>第二界限线</source>
        <translation>second limit line</translation>
    </message>
    <message>
        <source>进入齿面</source>
        <translation>enters the tooth zone</translation>
    </message>
    <message>
        <source>在齿面以外</source>
        <translation>outside the tooth zone</translation>
    </message>
    <message>
        <source>同时接触齿数</source>
        <translation>teeth in contact</translation>
    </message>
    <message>
        <source>节点</source>
        <translation>pitch point</translation>
    </message>
    <message>
        <source>蜗轮转角</source>
        <translation>wheel angle</translation>
    </message>
    <message>
        <source>蜗杆转速</source>
        <translation>worm speed</translation>
    </message>
    <message>
        <source>未能求解的点</source>
        <translation>unsolved points</translation>
    </message>
    <message>
        <source>设计检查发现错误，不做啮合分析：</source>
        <translation>The design checks found errors; no meshing analysis:</translation>
    </message>
    <message>
        <source>该设计无法做啮合分析：按喉部轴向齿厚无法确定蜗杆齿面。</source>
        <translation>This design cannot be analysed: no worm flank gives its axial tooth thickness at the throat.</translation>
    </message>
    <message>
        <source>播放</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>保存为 PNG</source>
        <translation>Save as PNG</translation>
    </message>
    <message>
        <source>最近一次计算未能完成：这里仍是上一次成功计算的结果，不能保存。</source>
        <translation>The last calculation did not complete: this is still the result of the last successful one and cannot be saved.</translation>
    </message>
    <message>
        <source>最大滑动速度</source>
        <translation>largest sliding speed</translation>
    </message>
    <message>
        <source>最小润滑角</source>
        <translation>least lubrication angle</translation>
    </message>
    <message>
        <source>最大诱导法曲率</source>
        <translation>largest induced curvature</translation>
    </message>
    <message>
        <source>修形量（两端）</source>
        <translation>modification at the ends</translation>
    </message>
    <message>
        <source>设计检查发现错误，不做啮合分析。</source>
        <translation>The design checks found errors: no meshing analysis.</translation>
    </message>
    <message>
        <source>计算过程</source>
        <translation>Calculation steps</translation>
    </message>
    <message>
        <source>公式与代入数值</source>
        <translation>rule and numbers</translation>
    </message>
    <message>
        <source>齿根高</source>
        <translation>dedendum</translation>
    </message>
    <message>
        <source>喉部齿根圆直径</source>
        <translation>throat root diameter</translation>
    </message>
    <message>
        <source>齿顶高</source>
        <translation>addendum</translation>
    </message>
    <message>
        <source>喉部齿顶圆直径</source>
        <translation>throat tip diameter</translation>
    </message>
    <message>
        <source>齿距角</source>
        <translation>angular pitch</translation>
    </message>
    <message>
        <source>周节</source>
        <translation>circular pitch</translation>
    </message>
    <message>
        <source>轴向齿厚</source>
        <translation>axial tooth thickness</translation>
    </message>
    <message>
        <source>滚刀工作半包角</source>
        <translation>hob working half wrap angle</translation>
    </message>
    <message>
        <source>滚刀轴向齿厚</source>
        <translation>hob axial tooth thickness</translation>
    </message>
    <message>
        <source>蜗轮弧齿厚</source>
        <translation>wheel arc tooth thickness</translation>
    </message>
    <message>
        <source>齿顶处齿形角</source>
        <translation>flank angle at the tip</translation>
    </message>
    <message>
        <source>滚刀齿顶处齿形角</source>
        <translation>hob flank angle at the tip</translation>
    </message>
    <message>
        <source>修形蜗轮分度圆直径</source>
        <translation>modification wheel pitch diameter</translation>
    </message>
    <message>
        <source>修形压力角</source>
        <translation>modification pressure angle</translation>
    </message>
    <message>
        <source>审核</source>
        <translation>Checked</translation>
    </message>
    <message>
        <source>批准</source>
        <translation>Approved</translation>
    </message>
    <message>
        <source>蜗杆图号</source>
        <translation>Worm drawing number</translation>
    </message>
    <message>
        <source>蜗杆材料</source>
        <translation>Worm material</translation>
    </message>
    <message>
        <source>蜗杆热处理</source>
        <translation>Worm heat treatment</translation>
    </message>
    <message>
        <source>蜗杆技术要求</source>
        <translation>Worm technical requirements</translation>
    </message>
    <message>
        <source>蜗轮图号</source>
        <translation>Wheel drawing number</translation>
    </message>
    <message>
        <source>蜗轮材料</source>
        <translation>Wheel material</translation>
    </message>
    <message>
        <source>蜗轮热处理</source>
        <translation>Wheel heat treatment</translation>
    </message>
    <message>
        <source>蜗轮技术要求</source>
        <translation>Wheel technical requirements</translation>
    </message>
    <message>
        <source>滚刀材料</source>
        <translation>Hob material</translation>
    </message>
    <message>
        <source>滚刀热处理</source>
        <translation>Hob heat treatment</translation>
    </message>
    <message>
        <source>滚刀技术要求</source>
        <translation>Hob technical requirements</translation>
    </message>
    <message>
        <source>蜗杆左轴颈直径</source>
        <translation>Worm left journal diameter</translation>
    </message>
    <message>
        <source>蜗杆左轴颈长度</source>
        <translation>Worm left journal length</translation>
    </message>
    <message>
        <source>蜗杆右轴颈直径</source>
        <translation>Worm right journal diameter</translation>
    </message>
    <message>
        <source>蜗杆右轴颈长度</source>
        <translation>Worm right journal length</translation>
    </message>
    <message>
        <source>蜗杆左轴肩长度</source>
        <translation>Worm left shoulder length</translation>
    </message>
    <message>
        <source>蜗杆右轴肩长度</source>
        <translation>Worm right shoulder length</translation>
    </message>
    <message>
        <source>蜗杆轴肩直径</source>
        <translation>Worm shoulder diameter</translation>
    </message>
    <message>
        <source>蜗杆键槽宽度</source>
        <translation>Worm keyway width</translation>
    </message>
    <message>
        <source>蜗杆键槽深度</source>
        <translation>Worm keyway depth</translation>
    </message>
    <message>
        <source>蜗杆键槽长度</source>
        <translation>Worm keyway length</translation>
    </message>
    <message>
        <source>蜗轮轮毂直径</source>
        <translation>Wheel hub diameter</translation>
    </message>
    <message>
        <source>蜗轮轮毂长度</source>
        <translation>Wheel hub length</translation>
    </message>
    <message>
        <source>蜗轮辐板厚度</source>
        <translation>Wheel web thickness</translation>
    </message>
    <message>
        <source>蜗轮轮缘内径</source>
        <translation>Wheel rim inside diameter</translation>
    </message>
    <message>
        <source>蜗轮轴孔直径</source>
        <translation>Wheel bore diameter</translation>
    </message>
    <message>
        <source>蜗轮键槽宽度</source>
        <translation>Wheel keyway width</translation>
    </message>
    <message>
        <source>蜗轮键槽深度</source>
        <translation>Wheel keyway depth</translation>
    </message>
    <message>
        <source>滚刀内孔直径</source>
        <translation>Hob bore diameter</translation>
    </message>
    <message>
        <source>滚刀轴台直径</source>
        <translation>Hob hub diameter</translation>
    </message>
    <message>
        <source>滚刀轴台长度</source>
        <translation>Hob hub length</translation>
    </message>
    <message>
        <source>滚刀键槽宽度</source>
        <translation>Hob keyway width</translation>
    </message>
    <message>
        <source>滚刀键槽深度</source>
        <translation>Hob keyway depth</translation>
    </message>
    <message>
        <source>1. 未注倒角 C1。</source>
        <translation>1. Unspecified chamfers C1.</translation>
    </message>
    <message>
        <source>2. 齿面粗糙度 Ra 0.8 μm。</source>
        <translation>2. Tooth flank roughness Ra 0.8 μm.</translation>
    </message>
    <message>
        <source>3. 锐边倒钝，去除毛刺。</source>
        <translation>3. Break sharp edges, remove burrs.</translation>
    </message>
    <message>
        <source>4. 与配对蜗轮成对加工，成对使用。</source>
        <translation>4. Made and used as a pair with its mating wheel.</translation>
    </message>
    <message>
        <source>2. 齿面粗糙度 Ra 1.6 μm。</source>
        <translation>2. Tooth flank roughness Ra 1.6 μm.</translation>
    </message>
    <message>
        <source>4. 用配对滚刀加工，与配对蜗杆成对使用。</source>
        <translation>4. Cut with its mating hob, used as a pair with its mating worm.</translation>
    </message>
    <message>
        <source>2. 切削刃锋利，不得有崩刃、裂纹。</source>
        <translation>2. Cutting edges sharp, free of chips and cracks.</translation>
    </message>
    <message>
        <source>4. 齿形按配对蜗杆的参数制造。</source>
        <translation>4. Tooth form made to the parameters of the mating worm.</translation>
    </message>
    <message>
        <source>单位名称</source>
        <translation>Company</translation>
    </message>
    <message>
        <source>材料</source>
        <translation>Material</translation>
    </message>
    <message>
        <source>轴向齿距</source>
        <translation>Axial pitch</translation>
    </message>
    <message>
        <source>配对件图号</source>
        <translation>Mate&apos;s drawing no.</translation>
    </message>
    <message>
        <source>齿厚上偏差</source>
        <translation>Upper thickness deviation</translation>
    </message>
    <message>
        <source>齿厚下偏差</source>
        <translation>Lower thickness deviation</translation>
    </message>
    <message>
        <source>未填</source>
        <translation>not entered</translation>
    </message>
    <message>
        <source>技术要求</source>
        <translation>Technical requirements</translation>
    </message>
    <message>
        <source>%1. 热处理：%2</source>
        <translation>%1. Heat treatment: %2</translation>
    </message>
    <message>
        <source>审阅</source>
        <translation>Review</translation>
    </message>
    <message>
        <source>姓名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>参考资料</source>
        <translation>References</translation>
    </message>
    <message>
        <source>GB/T 16445-1996：蜗杆副的精度等级（蜗杆精度、滚刀精度所注的标准）</source>
        <translation>GB/T 16445-1996: the accuracy grades of the worm pair (the standard the worm and hob accuracy name)</translation>
    </message>
    <message>
        <source>公差表（设置 → 公差表）：齿厚偏差按精度等级与中心距由设计者从其标准录入</source>
        <translation>Tolerance table (Settings → Tolerance table): the tooth thickness deviations by accuracy grade and centre distance, entered by the designer from his standard</translation>
    </message>
    <message>
        <source>吴序堂：齿轮啮合原理，机械工业出版社（包络、啮合方程、界限线）</source>
        <translation>Wu Xutang: Principles of Gear Meshing, China Machine Press (envelopes, the equation of meshing, limit lines)</translation>
    </message>
    <message>
        <source>F. L. Litvin, A. Fuentes: Gear Geometry and Applied Theory, 2nd ed., Cambridge University Press, 2004（线接触的诱导法曲率）</source>
        <translation>F. L. Litvin, A. Fuentes: Gear Geometry and Applied Theory, 2nd ed., Cambridge University Press, 2004 (the induced normal curvature of line contact)</translation>
    </message>
    <message>
        <source>GB/T 14689-2008 技术制图 图纸幅面和格式；GB/T 14691-1993 技术制图 字体</source>
        <translation>GB/T 14689-2008 Technical drawings: sizes and layouts of drawing sheets; GB/T 14691-1993 Technical drawings: lettering</translation>
    </message>
    <message>
        <source>GB/T 14665-2012 机械工程 CAD制图规则（图层）</source>
        <translation>GB/T 14665-2012 Mechanical engineering: rules of CAD drawing (layers)</translation>
    </message>
    <message>
        <source>GB/T 131-2006 产品几何技术规范（GPS） 技术产品文件中表面结构的表示法</source>
        <translation>GB/T 131-2006 Geometrical product specifications (GPS): indication of surface texture in technical product documentation</translation>
    </message>
    <message>
        <source>中心距偏差</source>
        <translation>Centre distance deviation</translation>
    </message>
    <message>
        <source>中间平面偏移</source>
        <translation>Mid-plane offset</translation>
    </message>
    <message>
        <source>径向跳动</source>
        <translation>Radial runout</translation>
    </message>
</context>
<context>
    <name>wormgear::Fields</name>
    <message>
        <source>中心距</source>
        <translation>centre distance</translation>
    </message>
    <message>
        <source>速比</source>
        <translation>speed ratio</translation>
    </message>
    <message>
        <source>蜗轮齿数</source>
        <translation>wheel teeth</translation>
    </message>
    <message>
        <source>蜗杆头数</source>
        <translation>worm starts</translation>
    </message>
    <message>
        <source>主基圆直径</source>
        <translation>main base circle diameter</translation>
    </message>
    <message>
        <source>E值</source>
        <translation>E value</translation>
    </message>
    <message>
        <source>蜗杆分度圆直径</source>
        <translation>worm pitch diameter</translation>
    </message>
    <message>
        <source>侧隙</source>
        <translation>backlash</translation>
    </message>
    <message>
        <source>蜗杆精度</source>
        <translation>worm accuracy</translation>
    </message>
    <message>
        <source>滚刀精度</source>
        <translation>hob accuracy</translation>
    </message>
    <message>
        <source>入口修缘</source>
        <translation>entrance relief</translation>
    </message>
    <message>
        <source>出口修缘</source>
        <translation>exit relief</translation>
    </message>
    <message>
        <source>磨齿增量</source>
        <translation>grinding increment</translation>
    </message>
    <message>
        <source>齿</source>
        <translation>teeth</translation>
    </message>
    <message>
        <source>主基圆直径系数</source>
        <translation>main base circle diameter factor</translation>
    </message>
    <message>
        <source>蜗杆分度圆直径系数</source>
        <translation>worm pitch diameter factor</translation>
    </message>
</context>
<context>
    <name>wormgear::Files</name>
    <message>
        <source>无法打开文件</source>
        <translation>Cannot open the file</translation>
    </message>
    <message>
        <source>无法读取文件</source>
        <translation>Cannot read the file</translation>
    </message>
    <message>
        <source>不是普通文件</source>
        <translation>Not a regular file</translation>
    </message>
    <message>
        <source>文件过大</source>
        <translation>File too large</translation>
    </message>
    <message>
        <source>无法在目标文件夹中创建文件</source>
        <translation>Cannot create a file in the folder of</translation>
    </message>
    <message>
        <source>无法写入文件</source>
        <translation>Cannot write the file</translation>
    </message>
    <message>
        <source>无法替换文件</source>
        <translation>Cannot replace the file</translation>
    </message>
    <message>
        <source>缺少文件名</source>
        <translation>No file name</translation>
    </message>
    <message>
        <source>无法使用数据文件夹</source>
        <translation>Cannot use the data folder</translation>
    </message>
    <message>
        <source>无法确定用户的数据文件夹：没有设置 HOME，用户数据库中也没有当前用户的主文件夹</source>
        <translation>The user&apos;s data folder is unknown: HOME is not set and the user database names no home folder for the current user</translation>
    </message>
    <message>
        <source>没有那个文件或目录</source>
        <translation>No such file or directory</translation>
    </message>
    <message>
        <source>权限不够</source>
        <translation>Permission denied</translation>
    </message>
    <message>
        <source>不允许的操作</source>
        <translation>Operation not permitted</translation>
    </message>
    <message>
        <source>设备上没有空间</source>
        <translation>No space left on device</translation>
    </message>
    <message>
        <source>超出磁盘配额</source>
        <translation>Disk quota exceeded</translation>
    </message>
    <message>
        <source>只读文件系统</source>
        <translation>Read-only file system</translation>
    </message>
    <message>
        <source>输入/输出错误</source>
        <translation>Input/output error</translation>
    </message>
    <message>
        <source>是一个目录</source>
        <translation>Is a directory</translation>
    </message>
    <message>
        <source>不是目录</source>
        <translation>Not a directory</translation>
    </message>
    <message>
        <source>文件名过长</source>
        <translation>File name too long</translation>
    </message>
    <message>
        <source>文件已存在</source>
        <translation>File exists</translation>
    </message>
    <message>
        <source>符号链接的层数过多</source>
        <translation>Too many levels of symbolic links</translation>
    </message>
    <message>
        <source>设备或资源忙</source>
        <translation>Device or resource busy</translation>
    </message>
    <message>
        <source>文本文件忙</source>
        <translation>Text file busy</translation>
    </message>
    <message>
        <source>打开的文件过多</source>
        <translation>Too many open files</translation>
    </message>
    <message>
        <source>系统中打开的文件过多</source>
        <translation>Too many open files in system</translation>
    </message>
    <message>
        <source>无效的跨设备链接</source>
        <translation>Invalid cross-device link</translation>
    </message>
    <message>
        <source>没有那个设备或地址</source>
        <translation>No such device or address</translation>
    </message>
    <message>
        <source>没有那个设备</source>
        <translation>No such device</translation>
    </message>
    <message>
        <source>资源暂时不可用</source>
        <translation>Resource temporarily unavailable</translation>
    </message>
    <message>
        <source>无效的参数</source>
        <translation>Invalid argument</translation>
    </message>
    <message>
        <source>无法分配内存</source>
        <translation>Cannot allocate memory</translation>
    </message>
    <message>
        <source>过旧的文件句柄</source>
        <translation>Stale file handle</translation>
    </message>
    <message>
        <source>不支持的操作</source>
        <translation>Operation not supported</translation>
    </message>
    <message>
        <source>%1“%2”</source>
        <translation>%1 “%2”</translation>
    </message>
    <message>
        <source>%1“%2”：%3</source>
        <translation>%1 “%2”: %3</translation>
    </message>
</context>
<context>
    <name>wormgear::Meshing</name>
    <message>
        <source>啮合分析（上齿面，蜗杆转速 {rpm} r/min）</source>
        <translation>Meshing analysis (upper flank, worm at {rpm} 1/min)</translation>
    </message>
    <message>
        <source>同时接触齿数：{min}～{max}</source>
        <translation>teeth in contact: {min} to {max}</translation>
    </message>
    <message>
        <source>节点：滑动速度 {v} m/s，润滑角 {lub}°，接触线距节点 {off} mm</source>
        <translation>pitch point: sliding speed {v} m/s, lubrication angle {lub}°, contact line {off} mm away</translation>
    </message>
    <message>
        <source>接触线（一个齿距内 {n} 个位置）：{count} 段；最小润滑角 {lub}°，最大滑动速度 {v} m/s，最大诱导法曲率 {k} 1/mm</source>
        <translation>contact lines ({n} positions over one pitch): {count} pieces; least lubrication angle {lub}°, largest sliding speed {v} m/s, largest induced curvature {k} 1/mm</translation>
    </message>
    <message>
        <source>进入齿面</source>
        <translation>enters the tooth zone</translation>
    </message>
    <message>
        <source>在齿面以外</source>
        <translation>outside the tooth zone</translation>
    </message>
    <message>
        <source>第一界限线（蜗杆根切）：{where}</source>
        <translation>first limit line (undercut of the worm): {where}</translation>
    </message>
    <message>
        <source>第二界限线（蜗轮根切）：{where}</source>
        <translation>second limit line (undercut of the wheel): {where}</translation>
    </message>
    <message>
        <source>修形量（沿螺纹，上齿面）：{from} 至 {to} μm</source>
        <translation>modification along the thread, upper flank: {from} to {to} μm</translation>
    </message>
    <message>
        <source>未能求解的点：{n}</source>
        <translation>unsolved points: {n}</translation>
    </message>
</context>
<context>
    <name>wormgear::Online</name>
    <message>
        <source>程序有新版本需要更新，请点击“维护-软件更新”</source>
        <translation>A new version of the program is available. Please choose &quot;Maintenance - Software upgrade&quot;.</translation>
    </message>
    <message>
        <source>找不到升级程序“%1”。</source>
        <translation>The updater &quot;%1&quot; cannot be found.</translation>
    </message>
    <message>
        <source>升级程序“%1”不是可以运行的程序。</source>
        <translation>The updater &quot;%1&quot; is not a program that can be run.</translation>
    </message>
    <message>
        <source>无法启动升级程序“%1”：%2</source>
        <translation>The updater &quot;%1&quot; cannot be started: %2</translation>
    </message>
    <message>
        <source>无法启动升级程序“%1”。</source>
        <translation>The updater &quot;%1&quot; cannot be started.</translation>
    </message>
</context>
<context>
    <name>wormgear::Particulars</name>
    <message>
        <source>蜗杆</source>
        <translation>Worm</translation>
    </message>
    <message>
        <source>蜗轮</source>
        <translation>Wheel</translation>
    </message>
    <message>
        <source>滚刀</source>
        <translation>Hob</translation>
    </message>
    <message>
        <source>图样资料</source>
        <translation>Drawing particulars</translation>
    </message>
    <message>
        <source>留空的项：日期取当天，其余在标题栏中空着。</source>
        <translation>Empty entries: the date is today&apos;s, the others stay blank in the title block.</translation>
    </message>
    <message>
        <source>标题栏</source>
        <translation>Title block</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>计算后给出</source>
        <translation>after calculation</translation>
    </message>
    <message>
        <source>无</source>
        <translation>none</translation>
    </message>
    <message>
        <source>尺寸（mm，留空取默认值）</source>
        <translation>Sizes (mm, empty for the default)</translation>
    </message>
    <message>
        <source>恢复默认</source>
        <translation>Restore default</translation>
    </message>
    <message>
        <source>图样资料有误，未被接受：</source>
        <translation>The drawing particulars were not accepted:</translation>
    </message>
    <message>
        <source>“%1”最多 %2 个字符。</source>
        <translation>“%1” holds at most %2 characters.</translation>
    </message>
    <message>
        <source>“%1”最多 %2 个字符，现有 %3 个字符。</source>
        <translation>“%1” holds at most %2 characters; it has %3.</translation>
    </message>
    <message>
        <source>“%1”最多 %2 行。</source>
        <translation>“%1” holds at most %2 lines.</translation>
    </message>
    <message>
        <source>“%1”第 %2 行最多 %3 个字符。</source>
        <translation>Line %2 of “%1” holds at most %3 characters.</translation>
    </message>
    <message>
        <source>“%1”须为不小于 0 的数字（mm），或留空取默认值。</source>
        <translation>“%1” must be a number not below 0 (mm), or empty for the default.</translation>
    </message>
    <message>
        <source>“%1”含有不能显示的字符。</source>
        <translation>“%1” contains characters that cannot be shown.</translation>
    </message>
</context>
<context>
    <name>wormgear::Results</name>
    <message>
        <source>蜗轮分度圆直径</source>
        <translation>wheel pitch diameter</translation>
    </message>
    <message>
        <source>E值</source>
        <translation>E value</translation>
    </message>
    <message>
        <source>蜗杆齿根圆弧半径</source>
        <translation>worm root arc radius</translation>
    </message>
    <message>
        <source>蜗杆工作长度</source>
        <translation>worm working length</translation>
    </message>
    <message>
        <source>蜗杆齿顶圆弧半径</source>
        <translation>worm tip arc radius</translation>
    </message>
    <message>
        <source>轴肩</source>
        <translation>shaft shoulder</translation>
    </message>
    <message>
        <source>主基圆直径</source>
        <translation>main base diameter</translation>
    </message>
    <message>
        <source>母平面倾斜角</source>
        <translation>generating plane angle</translation>
    </message>
    <message>
        <source>压力角</source>
        <translation>pressure angle</translation>
    </message>
    <message>
        <source>测量齿厚</source>
        <translation>measured thickness</translation>
    </message>
    <message>
        <source>测量齿高</source>
        <translation>measured height</translation>
    </message>
    <message>
        <source>端面模数</source>
        <translation>transverse module</translation>
    </message>
    <message>
        <source>包围齿数</source>
        <translation>enveloped teeth</translation>
    </message>
    <message>
        <source>工作半包角</source>
        <translation>half wrap angle</translation>
    </message>
    <message>
        <source>蜗杆喉部导程角</source>
        <translation>throat lead angle</translation>
    </message>
    <message>
        <source>蜗杆最大齿顶圆直径</source>
        <translation>worm max tip diameter</translation>
    </message>
    <message>
        <source>蜗杆齿顶宽</source>
        <translation>worm tip width</translation>
    </message>
    <message>
        <source>刀体齿顶圆弧半径</source>
        <translation>hob tip arc radius</translation>
    </message>
    <message>
        <source>刀体齿跟圆弧半径</source>
        <translation>hob root arc radius</translation>
    </message>
    <message>
        <source>滚刀有效长度</source>
        <translation>hob effective length</translation>
    </message>
    <message>
        <source>滚刀测量齿厚</source>
        <translation>hob measured thickness</translation>
    </message>
    <message>
        <source>滚刀测量齿高</source>
        <translation>hob measured height</translation>
    </message>
    <message>
        <source>滚刀包络齿数</source>
        <translation>hob enveloping teeth</translation>
    </message>
    <message>
        <source>滚刀齿顶宽</source>
        <translation>hob tip width</translation>
    </message>
    <message>
        <source>蜗轮最大外圆</source>
        <translation>wheel max outer diameter</translation>
    </message>
    <message>
        <source>蜗轮喉径</source>
        <translation>wheel throat diameter</translation>
    </message>
    <message>
        <source>齿圈工作宽度</source>
        <translation>rim working width</translation>
    </message>
    <message>
        <source>蜗轮测量齿厚</source>
        <translation>wheel measured thickness</translation>
    </message>
    <message>
        <source>蜗轮测量齿高</source>
        <translation>wheel measured height</translation>
    </message>
    <message>
        <source>蜗轮齿顶圆弧半径</source>
        <translation>wheel tip arc radius</translation>
    </message>
    <message>
        <source>修形砂轮角</source>
        <translation>grinding wheel angle</translation>
    </message>
    <message>
        <source>修形传动比</source>
        <translation>modification ratio</translation>
    </message>
    <message>
        <source>修形中心距</source>
        <translation>modification centre distance</translation>
    </message>
    <message>
        <source>修形主基圆直径</source>
        <translation>modification base diameter</translation>
    </message>
    <message>
        <source>  蜗杆参数  </source>
        <translation>  Worm parameters  </translation>
    </message>
    <message>
        <source>  滚刀参数  </source>
        <translation>  Hob parameters  </translation>
    </message>
    <message>
        <source>  蜗轮参数  </source>
        <translation>  Wheel parameters  </translation>
    </message>
    <message>
        <source>蜗杆修形（一般型传动）  </source>
        <translation>Worm modification (general)  </translation>
    </message>
</context>
<context>
    <name>wormgear::Settings</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>计算设置</source>
        <translation>Calculation settings</translation>
    </message>
    <message>
        <source>  参数设置  </source>
        <translation>  Coefficients  </translation>
    </message>
    <message>
        <source>N值：</source>
        <translation>N value:</translation>
    </message>
    <message>
        <source>保  存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>关  闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>数据表 %1 缺少列 %2 或 %3</source>
        <translation>table %1 has no column %2 or %3</translation>
    </message>
    <message>
        <source>“%1”不是有效的数字。N值必须是一个数字，本行的修改未被接受。</source>
        <translation>&quot;%1&quot; is not a valid number. The N value must be a number; the change of this row was not accepted.</translation>
    </message>
    <message>
        <source>N值无法修改：%1</source>
        <translation>The N value cannot be changed: %1</translation>
    </message>
    <message>
        <source>数据表未打开</source>
        <translation>The table is not open</translation>
    </message>
    <message>
        <source>数据保存成功......</source>
        <translation>Data saved......</translation>
    </message>
    <message>
        <source>数据保存失败.......</source>
        <translation>Saving the data failed.......</translation>
    </message>
    <message>
        <source>计算法则参数文件 %1 未能替换，参数保持不变。</source>
        <translation>The coefficient file %1 could not be replaced; the coefficients are unchanged.</translation>
    </message>
    <message>
        <source>用户设置未能保存。</source>
        <translation>The user settings were not saved.</translation>
    </message>
    <message>
        <source>默认设置文件 %1 不可用，计算法则参数未还原。</source>
        <translation>The default settings file %1 cannot be used; the coefficients were not restored.</translation>
    </message>
    <message>
        <source>所选文件不是可用的计算法则参数文件，未加载。</source>
        <translation>The chosen file is not a usable coefficient file; it was not loaded.</translation>
    </message>
    <message>
        <source>数据初始化失败，程序将关闭</source>
        <translation>Data initialisation failed; the program will close</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>计算法则</source>
        <translation>Rule</translation>
    </message>
    <message>
        <source>N值</source>
        <translation>N value</translation>
    </message>
    <message>
        <source>出厂值</source>
        <translation>Shipped value</translation>
    </message>
    <message>
        <source>精度等级</source>
        <translation>Accuracy grade</translation>
    </message>
    <message>
        <source>中心距 &gt;（mm）</source>
        <translation>Centre distance &gt; (mm)</translation>
    </message>
    <message>
        <source>中心距 ≤（mm）</source>
        <translation>Centre distance ≤ (mm)</translation>
    </message>
    <message>
        <source>蜗杆齿厚上偏差（μm）</source>
        <translation>Worm thickness upper dev. (μm)</translation>
    </message>
    <message>
        <source>蜗杆齿厚下偏差（μm）</source>
        <translation>Worm thickness lower dev. (μm)</translation>
    </message>
    <message>
        <source>蜗轮齿厚上偏差（μm）</source>
        <translation>Wheel thickness upper dev. (μm)</translation>
    </message>
    <message>
        <source>蜗轮齿厚下偏差（μm）</source>
        <translation>Wheel thickness lower dev. (μm)</translation>
    </message>
    <message>
        <source>中心距偏差 ±（μm）</source>
        <translation>Centre distance dev. ± (μm)</translation>
    </message>
    <message>
        <source>中间平面偏移 ±（μm）</source>
        <translation>Mid-plane offset ± (μm)</translation>
    </message>
    <message>
        <source>蜗杆径向跳动（μm）</source>
        <translation>Worm radial runout (μm)</translation>
    </message>
    <message>
        <source>蜗轮径向跳动（μm）</source>
        <translation>Wheel radial runout (μm)</translation>
    </message>
    <message>
        <source>未填</source>
        <translation>missing</translation>
    </message>
    <message>
        <source>“%1”不是有效的数字。公差值须为数字，或留空表示未填。</source>
        <translation>“%1” is not a valid number. A tolerance is a number, or empty when missing.</translation>
    </message>
    <message>
        <source>公差表</source>
        <translation>Tolerance table</translation>
    </message>
    <message>
        <source>添加行</source>
        <translation>Add row</translation>
    </message>
    <message>
        <source>删除行</source>
        <translation>Delete row</translation>
    </message>
    <message>
        <source>按所用标准逐项填写；空格表示未填，图样上该项空缺。</source>
        <translation>Enter each value from the standard you use; an empty cell is missing and left blank on the drawings.</translation>
    </message>
    <message>
        <source>公差表无法打开</source>
        <translation>The tolerance table cannot be opened</translation>
    </message>
    <message>
        <source>公差表第 %1 行：精度等级和中心距区间必须填写</source>
        <translation>Tolerance table, row %1: the accuracy grade and the centre-distance band must be given</translation>
    </message>
</context>
<context>
    <name>wormgear::SettingsText::SettingsText</name>
    <message>
        <source>数据保存成功......</source>
        <translation>Data saved......</translation>
    </message>
</context>
<context>
    <name>wormgear::Sheets</name>
    <message>
        <source>右</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>{mark}：{error}</source>
        <translation>{mark}: {error}</translation>
    </message>
    <message>
        <source>{errors}；{error}</source>
        <translation>{errors}; {error}</translation>
    </message>
    <message>
        <source>滚刀参数表</source>
        <translation>Hob parameters</translation>
    </message>
    <message>
        <source>滚刀头数</source>
        <translation>Hob starts</translation>
    </message>
    <message>
        <source>被切蜗轮齿数</source>
        <translation>Teeth of the wheel cut</translation>
    </message>
    <message>
        <source>端面模数</source>
        <translation>Transverse module</translation>
    </message>
    <message>
        <source>滚刀包络齿数</source>
        <translation>Hob enveloping teeth</translation>
    </message>
    <message>
        <source>母平面倾斜角</source>
        <translation>Generating plane angle</translation>
    </message>
    <message>
        <source>工作半包角</source>
        <translation>Working half wrap angle</translation>
    </message>
    <message>
        <source>喉部导程角</source>
        <translation>Throat lead angle</translation>
    </message>
    <message>
        <source>压力角</source>
        <translation>Pressure angle</translation>
    </message>
    <message>
        <source>螺旋方向</source>
        <translation>Hand of helix</translation>
    </message>
    <message>
        <source>精度等级</source>
        <translation>Accuracy grade</translation>
    </message>
    <message>
        <source>滚刀测量齿厚</source>
        <translation>Hob measured tooth thickness</translation>
    </message>
    <message>
        <source>滚刀测量齿高</source>
        <translation>Hob measured tooth height</translation>
    </message>
    <message>
        <source>注：角度以度为单位；滚刀测量齿厚含侧隙。设计：&#x3000;&#x3000;&#x3000;&#x3000;&#x3000;审核：&#x3000;&#x3000;&#x3000;&#x3000;&#x3000;日期：</source>
        <translation>Note: angles in degrees; the hob&apos;s measured tooth thickness includes the backlash. Designed:          Checked:          Date:</translation>
    </message>
    <message>
        <source>蜗轮参数表</source>
        <translation>Wheel parameters</translation>
    </message>
    <message>
        <source>蜗杆头数</source>
        <translation>Worm starts</translation>
    </message>
    <message>
        <source>蜗轮齿数</source>
        <translation>Wheel teeth</translation>
    </message>
    <message>
        <source>压力角与工作半包角之差</source>
        <translation>Pressure angle minus half wrap angle</translation>
    </message>
    <message>
        <source>包围齿数</source>
        <translation>Enveloped teeth</translation>
    </message>
    <message>
        <source>侧隙</source>
        <translation>Backlash</translation>
    </message>
    <message>
        <source>测量齿高</source>
        <translation>Measured tooth height</translation>
    </message>
    <message>
        <source>测量齿厚</source>
        <translation>Measured tooth thickness</translation>
    </message>
    <message>
        <source>中心距</source>
        <translation>Centre distance</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Remarks</translation>
    </message>
    <message>
        <source>主基圆直径</source>
        <translation>Main base circle diameter</translation>
    </message>
    <message>
        <source>注：角度以度为单位。设计：&#x3000;&#x3000;&#x3000;&#x3000;&#x3000;审核：&#x3000;&#x3000;&#x3000;&#x3000;&#x3000;日期：</source>
        <translation>Note: angles in degrees. Designed:          Checked:          Date:</translation>
    </message>
    <message>
        <source>蜗杆参数表</source>
        <translation>Worm parameters</translation>
    </message>
    <message>
        <source>平面包络环面蜗杆参数表</source>
        <translation>Enveloping worm parameters (inclined-plane generated)</translation>
    </message>
    <message>
        <source>蜗杆喉部导程角</source>
        <translation>Throat lead angle</translation>
    </message>
    <message>
        <source>入口修缘量</source>
        <translation>Entrance relief</translation>
    </message>
    <message>
        <source>出口修缘量</source>
        <translation>Exit relief</translation>
    </message>
    <message>
        <source>蜗杆修形参数（一般型传动）</source>
        <translation>Worm modification (general drive)</translation>
    </message>
    <message>
        <source>磨齿增量</source>
        <translation>Grinding increment</translation>
    </message>
    <message>
        <source>齿</source>
        <translation>teeth</translation>
    </message>
    <message>
        <source>修形中心距</source>
        <translation>Modification centre distance</translation>
    </message>
    <message>
        <source>修形传动比</source>
        <translation>Modification ratio</translation>
    </message>
    <message>
        <source>修形主基圆直径</source>
        <translation>Modification base circle diameter</translation>
    </message>
    <message>
        <source>修形砂轮角</source>
        <translation>Grinding wheel angle</translation>
    </message>
</context>
<context>
    <name>wormgear::Solutions</name>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Db/A
主基圆系数</source>
        <translation>Db/A
base circle share</translation>
    </message>
    <message>
        <source>d1/A^c[0]
杆分度圆系数</source>
        <translation>d1/A^c[0]
pitch diameter factor</translation>
    </message>
    <message>
        <source>检查
最重的问题</source>
        <translation>Check
worst finding</translation>
    </message>
    <message>
        <source>%1：%2（%3）</source>
        <translation>%1: %2 (%3)</translation>
    </message>
    <message>
        <source>没有发现问题</source>
        <translation>No problems found</translation>
    </message>
    <message>
        <source>（从、到、步长须为小数，到不小于从，步长大于 0 且使数值有变化）</source>
        <translation>(from, to and step must be decimal numbers, to not below from, the step above 0 and large enough to change the value)</translation>
    </message>
    <message>
        <source>中心距须为大于 0 的小数（如 200 或 200.5），方案表未计算。</source>
        <translation>The centre distance must be a decimal number above 0 (such as 200 or 200.5); the table was not calculated.</translation>
    </message>
    <message>
        <source>速比须为大于 0 的小数，方案表未计算。</source>
        <translation>The speed ratio must be a decimal number above 0; the table was not calculated.</translation>
    </message>
    <message>
        <source>速比乘以 1～4 的蜗杆头数都得不到整数齿数，方案表未计算。</source>
        <translation>The speed ratio times 1 to 4 worm starts gives no whole number of teeth; the table was not calculated.</translation>
    </message>
    <message>
        <source>主基圆系数 Db/A 的范围不能使用%1，方案表未计算。</source>
        <translation>The range of the base circle share Db/A cannot be used %1; the table was not calculated.</translation>
    </message>
    <message>
        <source>杆分度圆系数 d1/A^c[0] 的范围不能使用%1，方案表未计算。</source>
        <translation>The range of the pitch diameter factor d1/A^c[0] cannot be used %1; the table was not calculated.</translation>
    </message>
    <message>
        <source>E 值的范围不能使用%1，方案表未计算。</source>
        <translation>The range of the E value cannot be used %1; the table was not calculated.</translation>
    </message>
    <message>
        <source>侧隙的范围不能使用%1，方案表未计算。</source>
        <translation>The range of the backlash cannot be used %1; the table was not calculated.</translation>
    </message>
    <message>
        <source>方案多于 %1 个，方案表未计算：请加大步长或缩小范围。</source>
        <translation>More than %1 solutions; the table was not calculated: please use a larger step or a smaller range.</translation>
    </message>
    <message>
        <source>方案表</source>
        <translation>Table of solutions</translation>
    </message>
    <message>
        <source>设计</source>
        <translation>Design</translation>
    </message>
    <message>
        <source>头数取 1～4（齿数 = 速比 × 头数，为整数时）</source>
        <translation>Starts 1 to 4 (teeth = ratio × starts, when whole)</translation>
    </message>
    <message>
        <source>取整数</source>
        <translation>Round</translation>
    </message>
    <message>
        <source>取主窗口数据</source>
        <translation>Take from main window</translation>
    </message>
    <message>
        <source>中心距 A：</source>
        <translation>Centre distance A:</translation>
    </message>
    <message>
        <source>速比 i：</source>
        <translation>Speed ratio i:</translation>
    </message>
    <message>
        <source>齿数 z2：</source>
        <translation>Teeth z2:</translation>
    </message>
    <message>
        <source>头数 z1：</source>
        <translation>Starts z1:</translation>
    </message>
    <message>
        <source>磨齿增量：</source>
        <translation>Grinding incr.:</translation>
    </message>
    <message>
        <source>范围</source>
        <translation>Ranges</translation>
    </message>
    <message>
        <source>从</source>
        <translation>From</translation>
    </message>
    <message>
        <source>到</source>
        <translation>To</translation>
    </message>
    <message>
        <source>步长</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>主基圆系数 Db/A：</source>
        <translation>Base circle share Db/A:</translation>
    </message>
    <message>
        <source>杆分度圆系数 d1/A^c[0]：</source>
        <translation>Pitch diameter factor d1/A^c[0]:</translation>
    </message>
    <message>
        <source>按范围</source>
        <translation>By range</translation>
    </message>
    <message>
        <source>E 值：</source>
        <translation>E value:</translation>
    </message>
    <message>
        <source>侧隙：</source>
        <translation>Backlash:</translation>
    </message>
    <message>
        <source>计算方案</source>
        <translation>Calculate solutions</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>尚未计算。</source>
        <translation>Not calculated yet.</translation>
    </message>
    <message>
        <source>只显示没有错误的方案</source>
        <translation>Show only solutions without errors</translation>
    </message>
    <message>
        <source>导出工作簿…</source>
        <translation>Export workbook…</translation>
    </message>
    <message>
        <source>导出 CSV…</source>
        <translation>Export CSV…</translation>
    </message>
    <message>
        <source>双击一行，把这个方案放进主窗口并计算</source>
        <translation>Double-click a row to put that solution into the main window and calculate it</translation>
    </message>
    <message>
        <source>主基圆系数 Db/A</source>
        <translation>Base circle share Db/A</translation>
    </message>
    <message>
        <source>杆分度圆系数 d1/A^c[0]</source>
        <translation>Pitch diameter factor d1/A^c[0]</translation>
    </message>
    <message>
        <source>图表：</source>
        <translation>Chart:</translation>
    </message>
    <message>
        <source>随</source>
        <translation>against</translation>
    </message>
    <message>
        <source>内存不足，容不下这么多方案，方案表未计算：请加大步长或缩小范围。</source>
        <translation>Not enough memory for so many solutions; the table was not calculated: please use a larger step or a smaller range.</translation>
    </message>
    <message>
        <source>方案表未能算完。</source>
        <translation>The table of solutions could not be completed.</translation>
    </message>
    <message>
        <source>已计算 %1 / %2 个方案</source>
        <translation>Calculated %1 / %2 solutions</translation>
    </message>
    <message>
        <source>（已取消）</source>
        <translation> (cancelled)</translation>
    </message>
    <message>
        <source>共 %1 个方案</source>
        <translation>%1 solutions in all</translation>
    </message>
    <message>
        <source>，显示 %1 个。</source>
        <translation>, %1 shown.</translation>
    </message>
    <message>
        <source>方案表中还没有方案，没有可导出的内容。</source>
        <translation>The table holds no solutions yet; there is nothing to export.</translation>
    </message>
    <message>
        <source>方案表有 %1 行，工作簿最多容纳 %2 行：请只显示没有错误的方案、缩小范围，或导出 CSV。</source>
        <translation>The table has %1 rows and a workbook holds at most %2: please show only solutions without errors, narrow the ranges, or export CSV.</translation>
    </message>
    <message>
        <source>已导出到 %1。</source>
        <translation>Exported to %1.</translation>
    </message>
    <message>
        <source>方案表未能导出。</source>
        <translation>The table of solutions was not exported.</translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>方案 %1：</source>
        <translation>Solution %1: </translation>
    </message>
    <message>
        <source>方案 %1 所在的一行：只有%2变化</source>
        <translation>The row of solution %1: only %2 varies</translation>
    </message>
</context>
<context>
    <name>wormgear::TForm1</name>
    <message>
        <source>中  心  距：</source>
        <translation>Centre dist.:</translation>
    </message>
    <message>
        <source>速        比：</source>
        <translation>Ratio:</translation>
    </message>
    <message>
        <source>齿        数：</source>
        <translation>Teeth:</translation>
    </message>
    <message>
        <source>蜗杆头数：</source>
        <translation>Worm starts:</translation>
    </message>
    <message>
        <source>主  基  圆：</source>
        <translation>Base circle:</translation>
    </message>
    <message>
        <source>E           值：</source>
        <translation>E value:</translation>
    </message>
    <message>
        <source>杆分度圆：</source>
        <translation>Worm pitch d.:</translation>
    </message>
    <message>
        <source>侧         隙：</source>
        <translation>Backlash:</translation>
    </message>
    <message>
        <source>蜗杆精度：</source>
        <translation>Worm grade:</translation>
    </message>
    <message>
        <source>滚刀精度：</source>
        <translation>Hob grade:</translation>
    </message>
    <message>
        <source>入口修缘：</source>
        <translation>Entry relief:</translation>
    </message>
    <message>
        <source>出口修缘：</source>
        <translation>Exit relief:</translation>
    </message>
    <message>
        <source>磨齿增量：</source>
        <translation>Grinding incr.:</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>QELM蜗杆副设计V7.6</source>
        <translation>QELM Worm Pair Design V7.6</translation>
    </message>
    <message>
        <source>注意：计算法则已被修改...</source>
        <translation>Note: calculation rules modified...</translation>
    </message>
    <message>
        <source>取整数</source>
        <translation>Round</translation>
    </message>
    <message>
        <source>计   算</source>
        <translation>Calculate</translation>
    </message>
    <message>
        <source>导出蜗杆参数表</source>
        <translation>Export worm sheet</translation>
    </message>
    <message>
        <source>导出蜗轮参数表</source>
        <translation>Export wheel sheet</translation>
    </message>
    <message>
        <source>导出滚刀参数表</source>
        <translation>Export hob sheet</translation>
    </message>
    <message>
        <source>关    闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>执行</source>
        <translation>File</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>计算</source>
        <translation>Calculate</translation>
    </message>
    <message>
        <source>导出蜗杆参数</source>
        <translation>Export worm parameters</translation>
    </message>
    <message>
        <source>导出蜗轮参数</source>
        <translation>Export wheel parameters</translation>
    </message>
    <message>
        <source>导出滚刀参数</source>
        <translation>Export hob parameters</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>另存用户设置</source>
        <translation>Save user settings as</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>计算法则参数设置</source>
        <translation>Calculation rule coefficients</translation>
    </message>
    <message>
        <source>还原默认设置</source>
        <translation>Restore default settings</translation>
    </message>
    <message>
        <source>加载用户设置</source>
        <translation>Load user settings</translation>
    </message>
    <message>
        <source>维护</source>
        <translation>Maintenance</translation>
    </message>
    <message>
        <source>软件升级</source>
        <translation>Software upgrade</translation>
    </message>
    <message>
        <source>工具</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>蜗杆图</source>
        <translation>Worm drawing</translation>
    </message>
    <message>
        <source>蜗轮图</source>
        <translation>Wheel drawing</translation>
    </message>
    <message>
        <source>滚刀图</source>
        <translation>Hob drawing</translation>
    </message>
    <message>
        <source>计算书</source>
        <translation>Calculation report</translation>
    </message>
    <message>
        <source>语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>计算法则参数未能重新读取，仍使用原来的参数。</source>
        <translation>The coefficients could not be read again; the previous ones stay in use.</translation>
    </message>
    <message>
        <source>语言设置未能保存。</source>
        <translation>The language setting was not saved.</translation>
    </message>
    <message>
        <source>系数：0.63～0.67,小</source>
        <translation>Factor 0.63-0.67,</translation>
    </message>
    <message>
        <source>传动比时取小值</source>
        <translation>low for small ratios</translation>
    </message>
    <message>
        <source>齿顶圆弧偏</source>
        <translation>Offset of the tip</translation>
    </message>
    <message>
        <source>心。速比&gt;10 </source>
        <translation>arc. Ratio &gt; 10: </translation>
    </message>
    <message>
        <source>取0，速</source>
        <translation>0; ratio</translation>
    </message>
    <message>
        <source>比&lt;10取0.1a至0</source>
        <translation>&lt; 10: 0.1a to</translation>
    </message>
    <message>
        <source>.3a</source>
        <translation>0.3a</translation>
    </message>
    <message>
        <source>系数取0.6～0.78之</source>
        <translation>Factor between</translation>
    </message>
    <message>
        <source>间</source>
        <translation>0.6 and 0.78</translation>
    </message>
    <message>
        <source>A≥80～200	</source>
        <translation>A≥80-200	</translation>
    </message>
    <message>
        <source>Cn=0.15～0.5</source>
        <translation>Cn=0.15-0.5</translation>
    </message>
    <message>
        <source>A≥200～315	</source>
        <translation>A≥200-315	</translation>
    </message>
    <message>
        <source>Cn=0.35～0.8	</source>
        <translation>Cn=0.35-0.8	</translation>
    </message>
    <message>
        <source>A≥315～630	</source>
        <translation>A≥315-630	</translation>
    </message>
    <message>
        <source>Cn=0.6～1.5</source>
        <translation>Cn=0.6-1.5</translation>
    </message>
    <message>
        <source>A≥600～800	</source>
        <translation>A≥600-800	</translation>
    </message>
    <message>
        <source>Cn=0.8～2	</source>
        <translation>Cn=0.8-2	</translation>
    </message>
    <message>
        <source>A≥800～1000	</source>
        <translation>A≥800-1000	</translation>
    </message>
    <message>
        <source>Cn=1～1.25</source>
        <translation>Cn=1-1.25</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1（涉及：%2）</source>
        <translation>%1 (concerns: %2)</translation>
    </message>
    <message>
        <source>设计检查：没有发现问题</source>
        <translation>Design checks: no problems found</translation>
    </message>
    <message numerus="yes">
        <source>%n 个错误</source>
        <translation>
            <numerusform>%n error</numerusform>
            <numerusform>%n errors</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 个警告</source>
        <translation>
            <numerusform>%n warning</numerusform>
            <numerusform>%n warnings</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 条提示</source>
        <translation>
            <numerusform>%n note</numerusform>
            <numerusform>%n notes</numerusform>
        </translation>
    </message>
    <message>
        <source>设计检查：%1 — %2</source>
        <translation>Design checks: %1 — %2</translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>设计检查</source>
        <translation>Design checks</translation>
    </message>
    <message>
        <source>尚未计算。</source>
        <translation>Not calculated yet.</translation>
    </message>
    <message>
        <source>严重程度</source>
        <translation>Severity</translation>
    </message>
    <message>
        <source>代码</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>字段</source>
        <translation>Fields</translation>
    </message>
    <message>
        <source>说明</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>建议</source>
        <translation>Suggestion</translation>
    </message>
    <message>
        <source>最近一次计算已完成。</source>
        <translation>The last calculation completed.</translation>
    </message>
    <message>
        <source>最近一次计算未能完成。</source>
        <translation>The last calculation did not complete.</translation>
    </message>
    <message>
        <source>方案表</source>
        <translation>Table of solutions</translation>
    </message>
    <message>
        <source>详细…</source>
        <translation>Details…</translation>
    </message>
    <message>
        <source>无法用这些数值完成计算。</source>
        <translation>These numbers cannot be calculated.</translation>
    </message>
    <message>
        <source>啮合分析</source>
        <translation>Meshing analysis</translation>
    </message>
    <message>
        <source>公差表…</source>
        <translation>Tolerance table…</translation>
    </message>
    <message>
        <source>图样资料…</source>
        <translation>Drawing particulars…</translation>
    </message>
    <message>
        <source>公差表未能读取，图样上的公差将空缺。</source>
        <translation>The tolerance table could not be read; the drawings&apos; tolerances will be left blank.</translation>
    </message>
</context>
<context>
    <name>wormgear::TForm2</name>
    <message>
        <source>导出文件错误,或者您还没安装EXCEL,请核实后重试.........</source>
        <translation>The file could not be exported; please check and try again.........</translation>
    </message>
    <message>
        <source>Excel 工作簿</source>
        <translation>Excel workbook</translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>导出文件</source>
        <translation>Export file</translation>
    </message>
    <message>
        <source>正在保存，请稍候.............</source>
        <translation>Saving, please wait.............</translation>
    </message>
    <message>
        <source>取  消</source>
        <translation>Cancel</translation>
    </message>
</context>
</TS>
