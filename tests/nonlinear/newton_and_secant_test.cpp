#include <gtest/gtest.h>

#include <string>

#include "nonlinear/nonlinear_commands.h"
#include "nonlinear/nonlinear_test_support.h"
#include "support/command_runner.h"

namespace koravin::testing {
namespace {

const std::string kNewtonPrompts =
    TraceOf({PromptTrace(kDerivativePrompt), PromptTrace(kNewtonStartPrompt), PromptTrace(kNewtonPrecisionPrompt)});
const std::string kNewtonFailure = "方法失败，在此精度下无根！";

TEST(CalculateNewton, ConvergesToTheSquareRootOfTwo) {
    const auto run = RunCommand(CalculateNewton, Script("x^2-2", {"2*x", "1", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({"方程的导数方程式: 2*x      初值x0 = 1      计算精度 0.0001",
                                "",
                                " x1=1.5    f(x1)=0.25    |x1-x0|=0.5",
                                " x2=1.41666666666667    f(x2)=0.00694444444445397    |x2-x1|=0.0833333333333333",
                                " x3=1.41421568627451    f(x3)=6.00730488375945E-06    |x3-x2|=0.00245098039216018",
                                "",
                                " x=1.41421568627451    f(x)=6.00730488375945E-06"}));
    EXPECT_EQ(run.trace(), kNewtonPrompts);
}

TEST(CalculateNewton, AVanishingDerivativeAtTheStartFailsWithZeros) {
    const auto run = RunCommand(CalculateNewton, Script("x^2-2", {"2*x", "0", "0.0001"}));
    EXPECT_EQ(run.report,
              CrLf({"方程的导数方程式: 2*x      初值x0 = 0      计算精度 0.0001", "", "", " x=0    f(x)=0"}));
    EXPECT_EQ(run.trace(), TraceOf({kNewtonPrompts, MessageTrace(kNewtonFailure)}));
}

TEST(CalculateNewton, AWrongDerivativeGivesUpBeforeTheHundredAndFirstStep) {
    const auto run = RunCommand(CalculateNewton, Script("1", {"1", "0", "0.0001"}));
    std::string expected = CrLf({"方程的导数方程式: 1      初值x0 = 0      计算精度 0.0001", "", ""});
    for (int i = 1; i <= 100; ++i) {
        const std::string k = std::to_string(i);
        expected += " x" + k + "=-" + k + "    f(x" + k + ")=1    |x" + k + "-x" + std::to_string(i - 1) + "|=1\r\n";
    }
    expected += CrLf({"", " x=-100    f(x)=1"});
    EXPECT_EQ(run.report, expected);
    EXPECT_EQ(run.trace(), TraceOf({kNewtonPrompts, MessageTrace(kNewtonFailure)}));
}

TEST(CalculateNewton, AnUnreadableDerivativeEndsAfterTheHeader) {
    const auto run = RunCommand(CalculateNewton, Script("x^2-2", {"2x)", "1", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({"方程的导数方程式: 2x)      初值x0 = 1      计算精度 0.0001", "", ""}));
    EXPECT_EQ(run.trace(), TraceOf({kNewtonPrompts, MessageTrace(kExpressionError)}));
}

TEST(CalculateNewton, CarriesInfinityOnUntilNotANumberEndsTheIteration) {
    // The first step lands on the pole of 1/(x-2); the next one leaves for -Inf, where f is NaN.
    const auto run = RunCommand(CalculateNewton, Script("1/(x-2)", {"1", "1", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({"方程的导数方程式: 1      初值x0 = 1      计算精度 0.0001",
                                "",
                                " x1=2    f(x1)=Inf    |x1-x0|=1",
                                " x2=-Inf    f(x2)=NaN    |x2-x1|=Inf",
                                "",
                                " x=-Inf    f(x)=NaN"}));
    EXPECT_EQ(run.trace(), kNewtonPrompts);
}

const std::string kSecantPrompts =
    TraceOf({PromptTrace(kSecantLowerPrompt), PromptTrace(kSecantUpperPrompt), PromptTrace(kValuePrecisionPrompt),
             PromptTrace(kRootPrecisionPrompt)});

TEST(CalculateXianJie, ConvergesToTheRootOfTheCubic) {
    const auto run =
        RunCommand(CalculateXianJie, Script("x^3-2*x-5", {"2", "3", "0.0001", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({" 区间:[2  ,  3]        函数值精度 0.0001   根迭代精度 0.0001",
                                "",
                                " x1=2.05882352941176    f(x1)=-0.390799918583401",
                                " x2=2.08126365984503    f(x2)=-0.147204059553676",
                                " x3=2.09482414609404    f(x3)=0.00304379559875123",
                                " x4=2.09454943103525    f(x4)=-2.2886580623549E-05",
                                "",
                                "迭代4次   解x=2.09454943103525     f(x)=-2.2886580623549E-05"}));
    EXPECT_EQ(run.trace(), kSecantPrompts);
}

TEST(CalculateXianJie, EqualStartPointsGiveNotANumberAndEnd) {
    const auto run = RunCommand(CalculateXianJie, Script("x-2", {"1", "1", "0.0001", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({" 区间:[1  ,  1]        函数值精度 0.0001   根迭代精度 0.0001",
                                "",
                                " x1=NaN    f(x1)=NaN",
                                "",
                                "迭代1次   解x=NaN     f(x)=NaN"}));
    EXPECT_EQ(run.trace(), kSecantPrompts);
}

TEST(CalculateXianJie, AnUnreadableFunctionEndsAfterTheHeader) {
    const auto run = RunCommand(CalculateXianJie, Script("x+y", {"1", "2", "0.0001", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({" 区间:[1  ,  2]        函数值精度 0.0001   根迭代精度 0.0001", "", ""}));
    EXPECT_EQ(run.trace(), TraceOf({kSecantPrompts, MessageTrace(kExpressionError)}));
}

TEST(CalculateXianJie, GivesUpAfterTheHundredAndFirstLine) {
    // For 1/x each secant step lands on the sum of the two points: the points grow like the
    // Fibonacci numbers and the value never reaches a tolerance of 0.
    const auto run = RunCommand(CalculateXianJie, Script("1/x", {"1", "2", "0", "0.0001"}));
    EXPECT_EQ(run.report,
              CrLf({" 区间:[1  ,  2]        函数值精度 0   根迭代精度 0.0001",
                    "",
                    " x1=3    f(x1)=0.333333333333333",
                    " x2=5    f(x2)=0.2",
                    " x3=8    f(x3)=0.125",
                    " x4=13    f(x4)=0.0769230769230769",
                    " x5=21    f(x5)=0.0476190476190476",
                    " x6=34    f(x6)=0.0294117647058824",
                    " x7=55    f(x7)=0.0181818181818182",
                    " x8=89    f(x8)=0.0112359550561798",
                    " x9=144    f(x9)=0.00694444444444444",
                    " x10=233    f(x10)=0.00429184549356223",
                    " x11=377    f(x11)=0.0026525198938992",
                    " x12=610    f(x12)=0.00163934426229508",
                    " x13=987    f(x13)=0.00101317122593718",
                    " x14=1597    f(x14)=0.000626174076393237",
                    " x15=2584    f(x15)=0.000386996904024768",
                    " x16=4181    f(x16)=0.000239177230327673",
                    " x17=6765    f(x17)=0.000147819660014782",
                    " x18=10946    f(x18)=9.13575735428467E-05",
                    " x19=17711    f(x19)=5.64620857094461E-05",
                    " x20=28657    f(x20)=3.48954880133999E-05",
                    " x21=46368    f(x21)=2.15665976535542E-05",
                    " x22=75024.9999999999    f(x22)=1.33288903698767E-05",
                    " x23=121393    f(x23)=8.23770728130947E-06",
                    " x24=196418    f(x24)=5.09118308912625E-06",
                    " x25=317811    f(x25)=3.14652419205125E-06",
                    " x26=514229    f(x26)=1.94465889710615E-06",
                    " x27=832040    f(x27)=1.20186529493774E-06",
                    " x28=1346269    f(x28)=7.42793602170146E-07",
                    " x29=2178309    f(x29)=4.59071692767188E-07",
                    " x30=3524578    f(x30)=2.83721909403055E-07",
                    " x31=5702886.99999999    f(x31)=1.7534978336411E-07",
                    " x32=9227465    f(x32)=1.0837212603895E-07",
                    " x33=14930352    f(x33)=6.69776573251588E-08",
                    " x34=24157817    f(x34)=4.13944687137915E-08",
                    " x35=39088168.9999999    f(x35)=2.55831886113674E-08",
                    " x36=63245986.0000001    f(x36)=1.58112801024242E-08",
                    " x37=102334155    f(x37)=9.77190850894308E-09",
                    " x38=165580141    f(x38)=6.03937159348113E-09",
                    " x39=267914296    f(x39)=3.73253691546195E-09",
                    " x40=433494436.999999    f(x40)=2.30683467801918E-09",
                    " x41=701408733    f(x41)=1.42570223744277E-09",
                    " x42=1134903170    f(x42)=8.81132440576406E-10",
                    " x43=1836311903    f(x43)=5.44569796866366E-10",
                    " x44=2971215073    f(x44)=3.3656264371004E-10",
                    " x45=4807526975.99999    f(x45)=2.08007153156326E-10",
                    " x46=7778742049.00001    f(x46)=1.28555490553714E-10",
                    " x47=12586269025    f(x47)=7.94516626026115E-11",
                    " x48=20365011074    f(x48)=4.91038279511028E-11",
                    " x49=32951280099    f(x49)=3.03478346515087E-11",
                    " x50=53316291172.9999    f(x50)=1.87559932995942E-11",
                    " x51=86267571272    f(x51)=1.15918413519145E-11",
                    " x52=139583862445    f(x52)=7.16415194767969E-12",
                    " x53=225851433717    f(x53)=4.4276894042348E-12",
                    " x54=365435296162    f(x54)=2.73646254344488E-12",
                    " x55=591286729878.999    f(x55)=1.69122686078993E-12",
                    " x56=956722026041    f(x56)=1.04523568265496E-12",
                    " x57=1548008755920    f(x57)=6.45991178134964E-13",
                    " x58=2504730781961    f(x58)=3.99244504519995E-13",
                    " x59=4052739537880.99    f(x59)=2.46746673614969E-13",
                    " x60=6557470319842    f(x60)=1.52497830905027E-13",
                    " x61=10610209857723    f(x61)=9.42488427099409E-14",
                    " x62=17167680177565    f(x62)=5.82489881950863E-14",
                    " x63=27777890035288    f(x63)=3.59998545148547E-14",
                    " x64=44945570212852.9    f(x64)=2.22491336802316E-14",
                    " x65=72723460248141    f(x65)=1.37507208346231E-14",
                    " x66=117669030460994    f(x66)=8.49841284560842E-15",
                    " x67=190392490709135    f(x67)=5.25230798901472E-15",
                    " x68=308061521170129    f(x68)=3.2461048565937E-15",
                    " x69=498454011879263    f(x69)=2.00620313242102E-15",
                    " x70=806515533049394    f(x70)=1.23990172417269E-15",
                    " x71=1.30496954492866E+15    f(x71)=7.66301408248319E-16",
                    " x72=2.11148507797804E+15    f(x72)=4.73600315924373E-16",
                    " x73=3.41645462290671E+15    f(x73)=2.92701092323949E-16",
                    " x74=5.52793970088476E+15    f(x74)=1.80899223600422E-16",
                    " x75=8.94439432379145E+15    f(x75)=1.11801868723528E-16",
                    " x76=1.44723340246762E+16    f(x76)=6.90973548768941E-17",
                    " x77=2.34167283484677E+16    f(x77)=4.27045138466338E-17",
                    " x78=3.78890623731439E+16    f(x78)=2.63928410302602E-17",
                    " x79=6.13057907216115E+16    f(x79)=1.63116728163736E-17",
                    " x80=9.91948530947555E+16    f(x80)=1.00811682138866E-17",
                    " x81=1.60500643816367E+17    f(x81)=6.23050460248699E-18",
                    " x82=2.59695496911122E+17    f(x82)=3.85066361139962E-18",
                    " x83=4.2019614072749E+17    f(x83)=2.37984099108738E-18",
                    " x84=6.79891637638612E+17    f(x84)=1.47082262031224E-18",
                    " x85=1.1000877783661E+18    f(x85)=9.09018370775144E-19",
                    " x86=1.77997941600472E+18    f(x86)=5.6180424953709E-19",
                    " x87=2.8800671943708E+18    f(x87)=3.47214121238052E-19",
                    " x88=4.66004661037554E+18    f(x88)=2.14590128299041E-19",
                    " x89=7.54011380474634E+18    f(x89)=1.32623992939009E-19",
                    " x90=1.22001604151219E+19    f(x90)=8.19661353600332E-20",
                    " x91=1.97402742198682E+19    f(x91)=5.06578575789752E-20",
                    " x92=3.194043463499E+19    f(x92)=3.13082777810582E-20",
                    " x93=5.16807088548584E+19    f(x93)=1.9349579797917E-20",
                    " x94=8.36211434898483E+19    f(x94)=1.19586979831411E-20",
                    " x95=1.35301852344707E+20    f(x95)=7.39088181477598E-21",
                    " x96=2.18922995834555E+20    f(x96)=4.56781616836507E-21",
                    " x97=3.54224848179261E+20    f(x97)=2.82306564641093E-21",
                    " x98=5.73147844013817E+20    f(x98)=1.74475052195414E-21",
                    " x99=9.27372692193079E+20    f(x99)=1.07831512445678E-21",
                    " x100=1.50052053620689E+21    f(x100)=6.66435397497366E-22",
                    " x101=2.42789322839998E+21    f(x101)=4.11879726959416E-22",
                    "",
                    "迭代101次   解x=2.42789322839998E+21     f(x)=4.11879726959416E-22"}));
    EXPECT_EQ(run.trace(), TraceOf({kSecantPrompts, MessageTrace("方法失败，或许在此精度下无根！")}));
}

}  // namespace
}  // namespace koravin::testing
