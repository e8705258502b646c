#pragma once

#include <QRect>

// Where the demo picture puts its fixed labels, in picture pixels (1600 x 900). The picture
// generator draws them; the golden image test leaves these boxes out of its comparison,
// since their pixels depend on the machine's font rasteriser.
namespace demo_layout {

constexpr int kWidth = 1600;
constexpr int kHeight = 900;

struct Label
{
    QRect box;
    const char16_t* text;
};

inline constexpr Label kLabels[] = {
    {QRect(20, 12, 700, 44), u"デモプラント 概略図"},
    {QRect(20, 84, 100, 28), u"原水"},
    {QRect(80, 160, 160, 32), u"T1 原水槽"},
    {QRect(420, 120, 200, 32), u"T2 反応槽"},
    {QRect(780, 200, 160, 32), u"T3 製品槽"},
    {QRect(290, 562, 80, 28), u"P1"},
    {QRect(660, 562, 80, 28), u"P2"},
    {QRect(570, 196, 60, 26), u"TI"},
    {QRect(944, 482, 64, 28), u"出荷"},
    {QRect(1050, 84, 500, 30), u"ポンプ運転点 (流量 m3/h - 揚程 kPa)"},
    {QRect(1050, 464, 500, 30), u"反応槽温度 ℃ (最新300行)"},
    {QRect(50, 624, 460, 30), u"累積出荷量 m3 (自動範囲)"},
    {QRect(570, 624, 180, 30), u"バランス"},
    {QRect(810, 624, 180, 30), u"排水濁度 (対数)"},
};

} // namespace demo_layout
