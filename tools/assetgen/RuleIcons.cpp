#include "RuleIcons.h"

#include "PixelArt.h"
#include "SmoothCanvas.h"

#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <stdexcept>
#include <string>

namespace assetgen {

namespace {

using gfx::RGB;

gfx::Surface cake()
{
    return PixelArt::draw({
        "...O...O...O....",
        "..OYO.OYO.OYO...",
        "...Y...Y...Y....",
        "...R...B...R....",
        "...W...W...W....",
        "...R...B...R....",
        ".KKKKKKKKKKKKK..",
        "KWWWWWWWWWWWWWK.",
        "KWpWWpWWWpWWpWK.",
        "KpppWpppppWpppK.",
        "KpppppppppppppK.",
        "KRRRRRRRRRRRRRK.",
        "KpppppppppppppK.",
        "KpppppppppppppK.",
        "gKKKKKKKKKKKKKg.",
        ".ggggggggggggg..",
    });
}

gfx::Surface party()
{
    return PixelArt::draw({
        "..rrr...........",
        ".rRRWr.....bbb..",
        "rRRRRWr...bBBWb.",
        "rRRRRRr..bBBBBWb",
        "rRRRRRr..bBBBBBb",
        ".rRRRryyybBBBBBb",
        "..rRryYYWybBBBb.",
        "...ryYYYYWybBb..",
        "...gyYYYYYy.b...",
        "...gyYYYYYyg....",
        "....gyYYYy.g....",
        ".....gyYy.g.....",
        ".....g.y.g......",
        "......ggg.......",
        ".......g........",
        ".......g........",
    });
}

gfx::Surface heart()
{
    return PixelArt::draw({
        "................",
        "................",
        "...rrr....rrr...",
        "..rRRRr..rRRRr..",
        ".rRWRRRrrRRRRRr.",
        ".rWRRRRRRRRRRRr.",
        ".rRRRRRRRRRRRRr.",
        ".rRRRRRRRRRRRRr.",
        "..rRRRRRRRRRRr..",
        "...rRRRRRRRRr...",
        "....rRRRRRRr....",
        ".....rRRRRr.....",
        "......rRRr......",
        ".......rr.......",
        "................",
        "................",
    });
}

// A star of `points` points around (cx, cy).
std::vector<PointF> star(double cx, double cy, double outer, double inner, int points, double turn = 0)
{
    std::vector<PointF> corners;
    for (int i = 0; i < points * 2; ++i) {
        const double radius = i % 2 ? inner : outer;
        const double angle = (turn + double(i) / (points * 2)) * 2 * std::numbers::pi;
        corners.push_back({cx + std::sin(angle) * radius, cy - std::cos(angle) * radius});
    }
    return corners;
}

gfx::Surface moslem()
{
    const gfx::Colour dark = RGB(10, 90, 40);
    const gfx::Colour green = RGB(30, 160, 70);
    SmoothCanvas canvas(16, 16, 8, KeyColour);
    canvas.fillEllipse(0.3, 0.8, 14.7, 15.2, dark);
    canvas.fillEllipse(1.3, 1.8, 13.7, 14.2, green);
    canvas.fillEllipse(4.6, 0.6, 16.4, 12.4, dark);
    canvas.fillEllipse(5.6, 1.6, 17.4, 11.4, KeyColour);
    canvas.fillPolygon(star(11.3, 7.2, 4.0, 1.7, 5, 0.05), RGB(150, 100, 0));
    canvas.fillPolygon(star(11.3, 7.2, 3.1, 1.25, 5, 0.05), RGB(255, 210, 40));
    return canvas.reduceKeyed(KeyColour);
}

gfx::Surface mlk()
{
    // A dove of peace with an olive twig.
    return PixelArt::draw({
        "................",
        "..........gg....",
        ".........gWWg...",
        "........gWWWg...",
        "...gg..gWWWWg...",
        "..gWWg.gWWWg....",
        ".yWKWWgWWWWg....",
        "yy.gWWWWWWWg....",
        ".E..gWWWWWWWgg..",
        "EeE..gWWWWWWWWg.",
        ".E.E..gwWWWWwWWg",
        "..eE...gggggwwg.",
        "...........gg...",
        "................",
        "................",
        "................",
    });
}

gfx::Surface jewish()
{
    const gfx::Colour blue = RGB(20, 60, 170);
    SmoothCanvas canvas(16, 16, 8, KeyColour);
    const PointF top{7.5, 0.6}, bottomRight{14.2, 12.0}, bottomLeft{0.8, 12.0};
    const PointF bottom{7.5, 14.4}, topLeft{0.8, 3.0}, topRight{14.2, 3.0};
    const double width = 1.35;
    canvas.line(top, bottomRight, width, blue);
    canvas.line(bottomRight, bottomLeft, width, blue);
    canvas.line(bottomLeft, top, width, blue);
    canvas.line(bottom, topLeft, width, blue);
    canvas.line(topLeft, topRight, width, blue);
    canvas.line(topRight, bottom, width, blue);
    return canvas.reduceKeyed(KeyColour);
}

gfx::Surface christian()
{
    return PixelArt::draw({
        "......mmmm......",
        "......mYym......",
        "......mYym......",
        "..mmmmmYymmmmm..",
        "..mYYYYYYyyyym..",
        "..myyyyyyyyyym..",
        "..mmmmmYymmmmm..",
        "......mYym......",
        "......mYym......",
        "......mYym......",
        "......mYym......",
        "......mYym......",
        "......mYym......",
        "......mYym......",
        "......mYym......",
        "......mmmm......",
    });
}

gfx::Surface egg()
{
    return PixelArt::draw({
        "................",
        "......gggg......",
        ".....gccccg.....",
        "....gccWcccg....",
        "....gppppppg....",
        "...gpYpYpYpYg...",
        "...gppppppppg...",
        "...gYYYYYYYYg...",
        "...gEYEYEYEYg...",
        "...gYYYYYYYYg...",
        "...gccccccccg...",
        "...gcBcBcBccg...",
        "....gccccccg....",
        ".....gVVVVg.....",
        "......gggg......",
        "................",
    });
}

gfx::Surface mom()
{
    return PixelArt::draw(
        {
            "....hhhhhhh.....",
            "...hhHHHHHhh....",
            "..hhHHHHHHHhh...",
            "..hHHttttHHHh...",
            ".hHHttttttHHhh..",
            ".hHtKttttKtHHh..",
            ".hHttttttttHHh..",
            ".hHtpttsttptHh..",
            ".hHHttRRttHHHh..",
            "hhHHHttttHHHHhh.",
            "hHHHHHttHHHHHHh.",
            "hHHHppppppHHHHh.",
            ".hhpPPPPPPpphh..",
            "..pPPPPPPPPPPp..",
            ".pPPPPPPPPPPPPp.",
            ".pPPPPPPPPPPPPp.",
        },
        PixelArt::palette({{'h', RGB(90, 45, 10)}, {'H', RGB(150, 80, 25)}, {'P', RGB(230, 90, 150)}}));
}

gfx::Surface dad()
{
    return PixelArt::draw(
        {
            "................",
            ".....mmmmmm.....",
            "....mmmmmmmm....",
            "...mmttttttmm...",
            "...mttttttttm...",
            "..stKKttttKKts..",
            "..sttKttttKtts..",
            "...tttttsttt....",
            "...ttmmmmmmtt...",
            "....ttttttttt...",
            ".....ttttttt....",
            "...cccWRRWccc...",
            "..ccccWRRWcccc..",
            ".cccccWrrWccccc.",
            ".ccccccRRcccccc.",
            ".ccccccRRcccccc.",
        },
        PixelArt::palette({{'c', RGB(70, 120, 200)}}));
}

gfx::Surface fireworks()
{
    return PixelArt::draw({
        "......R.........",
        "..R...R...R.....",
        "...R..R..R......",
        "....R.Y.R.......",
        ".RRR.YWY.RRR....",
        "....R.Y.R...B...",
        "...R..R..R..B...",
        "..R...R...RBBBB.",
        "......R.......B.",
        "...Y.........BB.",
        "..YYY...E.......",
        "...Y...EEE..Y...",
        "........E..YYY..",
        "..O.........Y...",
        ".OOO............",
        "..O.............",
    });
}

gfx::Surface pumpkin()
{
    return PixelArt::draw({
        ".......ee.......",
        "......ee........",
        "...ooooooooooo..",
        "..oOOoOOOOoOOOo.",
        ".oOOoOOOOOOoOOOo",
        ".oOKKOOOOOKKOOOo",
        ".oOKKKOOOKKKOOOo",
        ".oOOoOOKOOoOOOOo",
        ".oOOoOKKKOoOOOOo",
        ".oOKOOOOOOOOKOOo",
        ".oOKKKKKKKKKKOOo",
        ".oOOKKOKKOKKOOOo",
        "..oOOoOOOOoOOOo.",
        "...ooooooooooo..",
        "................",
        "................",
    });
}

gfx::Surface turkey()
{
    return PixelArt::draw({
        "....RROOYYOORR..",
        "...RROOYYYYOORR.",
        "..RROOYnnnnYOORR",
        "..ROOYnnnnnnYOOR",
        ".RROYnnnnnnnnYOR",
        ".ROYnnmnnnnnnnYO",
        "..KKnmnnnnnnnnnY",
        ".RKWmnnnnnnnnnn.",
        "..yymnnnnnnnnnn.",
        "...R.mnnnnnnnnm.",
        "......mnnnnnnm..",
        ".......mmmmmm...",
        "........y..y....",
        "........y..y....",
        ".......yy.yy....",
        "................",
    });
}

gfx::Surface chanukah()
{
    // A menorah: eight lights and the higher helper light in the middle.
    return PixelArt::draw({
        ".......O........",
        ".......Y........",
        ".O.O.O.c.O.O.O.O",
        ".Y.Y.Y.c.Y.Y.Y.Y",
        ".c.c.c.c.c.c.c.c",
        ".c.c.c.c.c.c.c.c",
        ".y.y.y.y.y.y.y.y",
        ".y.y.y.y.y.y.y.y",
        ".y.y.y.y.y.y.y.y",
        ".y.yyyyyyyyyy.y.",
        ".yy...yyy....yy.",
        "..yyyyyyyyyyyy..",
        ".......yy.......",
        ".......yy.......",
        ".....yyyyyy.....",
        "....yyyyyyyy....",
    },
    PixelArt::palette({{'c', RGB(120, 170, 255)}}));
}

gfx::Surface kwanzaa()
{
    // A kinara: three red candles, a black one in the middle and three green ones.
    return PixelArt::draw({
        ".......O........",
        ".O.O.O.Y.O.O.O..",
        ".Y.Y.Y.K.Y.Y.Y..",
        ".R.R.R.K.E.E.E..",
        ".R.R.R.K.E.E.E..",
        ".R.R.R.K.E.E.E..",
        ".R.R.R.K.E.E.E..",
        "nnnnnnnnnnnnnnn.",
        "mnnnnnnnnnnnnnm.",
        ".mmmmmmmmmmmmm..",
        "......nnn.......",
        "......nnn.......",
        "......nnn.......",
        "....nnnnnnn.....",
        "...mmmmmmmmm....",
        "................",
    });
}

gfx::Surface christmas()
{
    return PixelArt::draw({
        ".......Y........",
        "......YYY.......",
        ".......e........",
        "......eEe.......",
        ".....eEEEe......",
        "....eERERERe....",
        ".....eEEEe......",
        "....eEEEEEe.....",
        "...eEBEEEYEEe...",
        "....eEEEEEe.....",
        "...eEEEEEEEe....",
        "..eEYEEEEERREe..",
        ".eEEEEBEEEEEEEe.",
        "eeeeeeemmeeeeeee",
        ".......mm.......",
        ".....rrrrrr.....",
    });
}

gfx::Surface handshake()
{
    // Two sleeves meeting, the hands clasped: a thumb on top, the fingers wrapped below.
    return PixelArt::draw({
        "................",
        "................",
        "................",
        "................",
        "cc........ss..dd",
        "ccW......sttsWdd",
        "ccWssssssstttWdd",
        "ccsttttssttttWdd",
        "ccsttttttttttWdd",
        "ccWsttstststtWdd",
        "ccWststststssWdd",
        "ccW.ststststsWdd",
        "cc...sssssss..dd",
        "................",
        "................",
        "................",
    },
    PixelArt::palette({{'c', RGB(50, 80, 170)}, {'d', RGB(70, 70, 80)}, {'s', RGB(190, 120, 70)}}));
}

gfx::Surface phone()
{
    return PixelArt::draw({
        "................",
        "..KKKKKKKKKKKK..",
        ".KRRRRRRRRRRRRK.",
        "KRRrKKKKKKKKrRRK",
        "KRRK........KRRK",
        ".KK..KKKKKK..KK.",
        "....KRRRRRRK....",
        "...KRRRRRRRRK...",
        "..KRRWKWKWKRRK..",
        "..KRRRRRRRRRRK..",
        "..KRRWKWKWKRRK..",
        "..KRRRRRRRRRRK..",
        "..KRRWKWKWKRRK..",
        "..KRRRRRRRRRRK..",
        "..KKKKKKKKKKKK..",
        "................",
    });
}

gfx::Surface medical()
{
    return PixelArt::draw({
        "................",
        ".gggggggggggggg.",
        ".gWWWWWWWWWWWWg.",
        ".gWWWWrrrrWWWWg.",
        ".gWWWWrRRrWWWWg.",
        ".gWWWWrRRrWWWWg.",
        ".gWrrrrRRrrrrWg.",
        ".gWrRRRRRRRRrWg.",
        ".gWrRRRRRRRRrWg.",
        ".gWrrrrRRrrrrWg.",
        ".gWWWWrRRrWWWWg.",
        ".gWWWWrRRrWWWWg.",
        ".gWWWWrrrrWWWWg.",
        ".gWWWWWWWWWWWWg.",
        ".gggggggggggggg.",
        "................",
    });
}

gfx::Surface dentist()
{
    return PixelArt::draw({
        "................",
        "..gggg....gggg..",
        ".gWWWWg..gWWWWg.",
        "gWWWWWWggWWWWWWg",
        "gWcWWWWWWWWWWWWg",
        "gWcWWWWWWWWWWWWg",
        "gWWWWWWWWWWWWWWg",
        ".gWWWWWWWWWWWWg.",
        ".gWWWWWWWWWWWwg.",
        "..gWWWWWWWWWwg..",
        "..gWWWWggWWWwg..",
        "..gWWWg..gWWwg..",
        "..gWWwg..gWwwg..",
        "...gWg....gWg...",
        "....g......g....",
        "................",
    },
    PixelArt::palette({{'g', RGB(100, 110, 130)}}));
}

gfx::Surface plane()
{
    return PixelArt::draw({
        "................",
        ".......gg.......",
        "......gWWg......",
        "......gWWg......",
        "......gWWg......",
        ".....gWccWg.....",
        "...ggWWWWWWgg...",
        ".ggWWWWWWWWWWgg.",
        "gWWWWWWWWWWWWWWg",
        ".gggggWWWWggggg.",
        "......gWWg......",
        "......gWWg......",
        ".....gWWWWg.....",
        "....gWWWWWWg....",
        "....ggggWggg....",
        ".......gg.......",
    },
    PixelArt::palette({{'W', RGB(225, 232, 245)}, {'g', RGB(50, 70, 130)}, {'c', RGB(90, 150, 230)}}));
}

gfx::Surface van()
{
    return PixelArt::draw({
        "................",
        "................",
        "................",
        "..KKKKKKKKKKK...",
        ".KBBBBBBBBBBBK..",
        ".KBcccBcccBBccK.",
        ".KBcccBcccBBcccK",
        ".KBBBBBBBBBBBBBK",
        ".KBBBBBBBBBBBBBK",
        ".KWWWWWWWWWWWWWK",
        ".KBBBBBBBBBBBBYK",
        ".KBKKKBBBBBKKKBK",
        "..KKgKKKKKKKgKK.",
        "...KKK.....KKK..",
        "................",
        "................",
    });
}

gfx::Surface camera()
{
    return PixelArt::draw({
        "................",
        "................",
        ".....KKKKK......",
        "..KKKGGGGGKKKK..",
        ".KGGGGGGGGGGRGK.",
        "KGGGGGKKKKGGGGGK",
        "KwwwwKgggbKwwwwK",
        "KwwwKgccbbbKwwwK",
        "KwwwKgcbbbbKwwwK",
        "KwwwKbbbbbbKwwwK",
        "KwwwwKbbbbKwwwwK",
        "KGGGGGKKKKGGGGGK",
        ".KKKKKKKKKKKKKK.",
        "................",
        "................",
        "................",
    });
}

gfx::Surface church()
{
    return PixelArt::draw({
        ".......y........",
        "......yyy.......",
        ".......y........",
        "......rRr.......",
        ".....rRRRr......",
        "....rRRRRRr.....",
        "....gWWWWWg.....",
        "..rrgWWbWWgrr...",
        ".rRRgWWbWWgRRr..",
        "rRRRgWWWWWgRRRr.",
        ".gWWgWWWWWgWWg..",
        ".gWbgWWnWWgWbg..",
        ".gWbgWnnnWgWbg..",
        ".gWWgWnnnWgWWg..",
        ".gWWgWnnnWgWWg..",
        "eeeeeeeeeeeeeeee",
    });
}

gfx::Surface money()
{
    return PixelArt::draw(
        {
            "................",
            "................",
            "................",
            "eeeeeeeeeeeeeeee",
            "eFFFFFFFFFFFFFFe",
            "eFeFFFFEEFFFFeFe",
            "eFFFFFEFFEFFFFFe",
            "eFFFFEFeeFEFFFFe",
            "eFFFFEFeeFEFFFFe",
            "eFFFFFEFFEFFFFFe",
            "eFeFFFFEEFFFFeFe",
            "eFFFFFFFFFFFFFFe",
            "eeeeeeeeeeeeeeee",
            "................",
            "................",
            "................",
        },
        PixelArt::palette({{'F', RGB(170, 220, 160)}, {'E', RGB(30, 110, 40)}}));
}

gfx::Surface breakfast()
{
    // A steaming cup of coffee on its saucer.
    return PixelArt::draw({
        "....g..g..g.....",
        "...g..g..g......",
        "....g..g..g.....",
        "...g..g..g......",
        "................",
        ".gggggggggggg...",
        ".gWmmmmmmmmWggg.",
        ".gWWWWWWWWWWg.gg",
        ".gWWWWWWWWWWg..g",
        ".gWWWWWWWWWWg.gg",
        ".gWWWWWWWWWWggg.",
        "..gWWWWWWWWg....",
        "ggggWWWWWWgggg..",
        "gwwwggggggwwwwg.",
        ".gggggggggggggg.",
        "................",
    });
}

gfx::Surface hamburger()
{
    return PixelArt::draw({
        "................",
        "................",
        ".....oooooo.....",
        "...ooOOWOOOoo...",
        "..oOOOOOOWOOOo..",
        ".oOWOOOOOOOOOOo.",
        ".oOOOOOOOOOOOOo.",
        ".EEeEEeEEEeEEEE.",
        ".YYYYYYYYYYYYYY.",
        ".mmmmmmmmmmmmmm.",
        ".mnnnnnnnnnnnnm.",
        ".RRRRRRRRRRRRRR.",
        ".oOOOOOOOOOOOOo.",
        "..ooooooooooooo.",
        "................",
        "................",
    });
}

gfx::Surface dinner()
{
    return PixelArt::draw({
        "................",
        "g.g....ggggg..g.",
        "g.g...gwwwwwg.gg",
        "g.g..gwWWWWWwggg",
        "ggg.gwWWWWWWWwgg",
        ".g..gwWWWWWWWwgg",
        ".g..gwWWWWWWWwgg",
        ".g..gwWWWWWWWwgg",
        ".g..gwWWWWWWWwg.",
        ".g...gwWWWWWwgg.",
        ".g....gwwwwwg.g.",
        ".g.....ggggg..g.",
        ".g............g.",
        ".g............g.",
        ".g............g.",
        "................",
    });
}

gfx::Surface dog()
{
    return PixelArt::draw({
        "................",
        "..mm........mm..",
        ".mnnm......mnnm.",
        ".mnnmnnnnnnmnnm.",
        ".mnnnnnnnnnnnnm.",
        ".mmnnnnnnnnnnmm.",
        "..mnnKnnnnKnnm..",
        "..mnnnnnnnnnnm..",
        "..mnnnttttnnnm..",
        "..mnnttKKttnnm..",
        "...mttttttttm...",
        "...mttKttKttm...",
        "....mttKKttm....",
        ".....mtRRtm.....",
        "......mRRm......",
        ".......mm.......",
    });
}

gfx::Surface soccer()
{
    return PixelArt::draw({
        "................",
        ".....GGGGGG.....",
        "...GGWWKKWWGG...",
        "..GWWWKKKKWWWG..",
        ".GWWWWWKKWWWWWG.",
        ".GKWWWWGGWWWWKG.",
        "GKKWWWGWWGWWWKKG",
        "GKKGGGWWWWGGGKKG",
        "GKWWWWGWWGWWWWKG",
        "GWWWWWWGGWWWWWWG",
        ".GWWWWKKKKWWWWG.",
        ".GWWWKKKKKKWWWG.",
        "..GWWWKKKKWWWG..",
        "...GGWWWWWWGG...",
        ".....GGGGGG.....",
        "................",
    });
}

gfx::Surface golf()
{
    return PixelArt::draw({
        "....R...........",
        "....RRR.........",
        "....RRRRR.......",
        "....RRRRRRR.....",
        "....RRRRR.......",
        "....RRR.........",
        "....K...........",
        "....K...........",
        "....K...........",
        "....K.....gg....",
        "....K....gWWg...",
        "....K....gWWg...",
        "..EEKEEE..gg....",
        ".EEeKKeEEEEEEE..",
        "EEEEeeEEEEEEEEE.",
        ".EEEEEEEEEEEEE..",
    });
}

gfx::Surface basketball()
{
    const gfx::Colour orange = RGB(235, 120, 30);
    const gfx::Colour seam = RGB(40, 20, 10);
    SmoothCanvas canvas(16, 16, 8, KeyColour);
    canvas.fillEllipse(0, 0, 15, 15, seam);
    canvas.fillEllipse(0.9, 0.9, 14.1, 14.1, orange);
    canvas.fillEllipse(2.2, 2.0, 5.2, 5.0, RGB(250, 170, 100));
    canvas.line({7.5, 0.5}, {7.5, 14.5}, 0.9, seam);
    canvas.line({0.5, 7.5}, {14.5, 7.5}, 0.9, seam);
    canvas.ring(-5.2, 2.0, 5.6, 13.0, 0.9, seam);
    canvas.ring(9.4, 2.0, 20.2, 13.0, 0.9, seam);
    // The side seams must not spill past the ball.
    canvas.keepInsideEllipse(0, 0, 15, 15, KeyColour);
    return canvas.reduceKeyed(KeyColour);
}

gfx::Surface glove()
{
    return PixelArt::draw({
        "................",
        "....mm.mm.......",
        "...mnnmnnm.mm...",
        "...mnnmnnmmnnm..",
        "...mnnmnnmnnnm..",
        "...mnnmnnmnnm...",
        ".m.mnnmnnmnnm...",
        "mnmmnnnnnnnnmmm.",
        "mnnmntttttnnnnnm",
        "mnnntttttttnnnm.",
        ".mnnttttttttnnm.",
        "..mnntttttttnm..",
        "...mnnttttnnm...",
        "....mnnnnnnm....",
        ".....mmmmmm.....",
        "................",
    },
    PixelArt::palette({{'t', RGB(215, 150, 80)}}));
}

gfx::Surface football()
{
    const gfx::Colour leather = RGB(130, 60, 20);
    const gfx::Colour dark = RGB(60, 25, 5);
    SmoothCanvas canvas(16, 16, 8, KeyColour);
    // An oval lying from lower left to upper right.
    const double angle = -std::numbers::pi / 4;
    std::vector<PointF> outline;
    std::vector<PointF> inside;
    for (int i = 0; i < 64; ++i) {
        const double t = i / 64.0 * 2 * std::numbers::pi;
        const double x = std::cos(t) * 8.6;
        const double y = std::sin(t) * 4.9;
        outline.push_back({7.5 + x * std::cos(angle) - y * std::sin(angle), 7.5 + x * std::sin(angle) + y * std::cos(angle)});
        const double xi = std::cos(t) * 7.6;
        const double yi = std::sin(t) * 3.9;
        inside.push_back({7.5 + xi * std::cos(angle) - yi * std::sin(angle), 7.5 + xi * std::sin(angle) + yi * std::cos(angle)});
    }
    canvas.fillPolygon(outline, dark);
    canvas.fillPolygon(inside, leather);
    // Stripes near the ends and the laces across the middle.
    canvas.line({2.6, 10.6}, {4.4, 12.4}, 0.9, gfx::colours::white);
    canvas.line({10.6, 2.6}, {12.4, 4.4}, 0.9, gfx::colours::white);
    canvas.line({5.4, 9.6}, {9.6, 5.4}, 1.0, gfx::colours::white);
    for (double s = -1.6; s <= 1.7; s += 1.6)
        canvas.line({7.5 + s - 1.0, 7.5 - s - 1.0}, {7.5 + s + 1.0, 7.5 - s + 1.0}, 0.9, gfx::colours::white);
    return canvas.reduceKeyed(KeyColour);
}

gfx::Surface checkbox()
{
    return PixelArt::draw({
        "................",
        "............ee..",
        "...........eEe..",
        "gggggggggg.eEe..",
        "gWWWWWWWWeeEeg..",
        "gWWWWWWWWeEeWg..",
        "gWWWWWWWeEeWWg..",
        "gWeeWWWWeEeWWg..",
        "gWeEeWWeEeWWWg..",
        "gWWeEeWeEeWWWg..",
        "gWWWeEeEeWWWWg..",
        "gWWWWeEeWWWWWg..",
        "gWWWWWeWWWWWWg..",
        "gWWWWWWWWWWWWg..",
        "gggggggggggggg..",
        "................",
    });
}

struct Entry {
    std::string_view name;
    gfx::Surface (*draw)();
};

// In the order the default rules first name them.
const Entry entries[] = {
    {"Cake", cake},           {"Party", party},         {"Heart", heart},         {"Moslem", moslem},
    {"MLK", mlk},             {"Jewish", jewish},       {"Christian", christian}, {"Egg", egg},
    {"Mom", mom},             {"Dad", dad},             {"Fireworks", fireworks}, {"Pumpkin", pumpkin},
    {"Turkey", turkey},       {"Chanukah", chanukah},   {"Kwanzaa", kwanzaa},     {"Christmas", christmas},
    {"Handshake", handshake}, {"Phone2", phone},        {"Medical", medical},     {"Dentist", dentist},
    {"Plane", plane},         {"Van", van},             {"Camera", camera},       {"Church", church},
    {"Money", money},         {"Breakfast", breakfast}, {"Hamburger", hamburger}, {"Dinner", dinner},
    {"Dog", dog},             {"Soccer", soccer},       {"Golf", golf},           {"Basketball", basketball},
    {"Glove", glove},         {"Football", football},   {"Chkbox", checkbox},
};

} // namespace

const std::vector<std::string_view>& RuleIcons::names()
{
    static const std::vector<std::string_view> list = [] {
        std::vector<std::string_view> names;
        for (const Entry& entry : entries)
            names.push_back(entry.name);
        return names;
    }();
    return list;
}

gfx::Surface RuleIcons::draw(std::string_view name)
{
    for (const Entry& entry : entries)
        if (entry.name == name)
            return entry.draw();
    throw std::invalid_argument("no rule icon is called " + std::string(name));
}

} // namespace assetgen
